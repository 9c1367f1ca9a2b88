#pragma once

#include <QStringView>

class PatternFinder;

// The one rule for whole words, shared by the search, the marks and the saved texts.
namespace wordboundary {

// Every character but a letter, a digit or a combining mark separates words; the hyphens
// (U+002D, U+2010, U+2011) do not: they join.
bool isSeparator(char32_t c);

// Whether the `length` characters at `position` stand between separators or the text's ends.
// A neighbour beyond the basic plane is judged as one character; an occurrence that splits a
// surrogate pair is not whole.
bool isWholeWord(QStringView text, qsizetype position, qsizetype length);

// Whether the pattern occurs in `text` as a whole word at least once. After an occurrence that is
// not whole the scan goes on one character later, so overlapping occurrences are all tried.
bool containsWholeWord(QStringView text, const PatternFinder& pattern);
// The same for the occurrences lying in [from, to), judged whole against the whole text.
bool containsWholeWord(QStringView text, const PatternFinder& pattern, qsizetype from, qsizetype to);

} // namespace wordboundary
