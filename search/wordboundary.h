#pragma once

#include <QString>
#include <QStringView>

class PatternFinder;

// The one rule for whole words, shared by the search and the highlighting.
namespace wordboundary {

// Punctuation of the separator set, any Unicode space or line break, and typographic quotes.
// A hyphen is not a separator: it joins words.
bool isSeparator(QChar c);

// Whether the `length` characters at `position` stand between separators or the text's ends.
bool isWholeWord(QStringView text, qsizetype position, qsizetype length);

// Whether the pattern occurs in `text` as a whole word at least once. After an occurrence that is
// not whole the scan goes on one character later, so overlapping occurrences are all tried.
bool containsWholeWord(QStringView text, const PatternFinder& pattern);
bool containsWholeWord(const QString& text, const QString& pattern, Qt::CaseSensitivity cs);

} // namespace wordboundary
