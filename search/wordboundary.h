#pragma once

#include "corpus/blockedges.h"

#include <QStringView>

class PatternFinder;

// The one rule for whole words, shared by the search, the marks, the find bar, the look-up and the
// concordance. A word is a run of characters that do not separate words; a block edge of the article
// (BlockEdges) inside such a run parts it as a separator would, without being a character of the text.
namespace wordboundary {

// Every character but a letter, a digit or a combining mark separates words; the hyphens
// (U+002D, U+2010, U+2011) do not: they join.
bool isSeparator(char32_t c);

// Whether both neighbours of `position` belong to words (one beyond the basic plane judged as one
// character): only there does a block edge part words; beside a separator it changes nothing.
bool insideWord(QStringView text, qsizetype position);
// Whether one of `edges` parts words at `position`.
bool edgePartsWords(QStringView text, const BlockEdges& edges, qsizetype position);

// How an occurrence was read: as the text has it, or with each edge that parts words read as a space
// of the pattern, so that a phrase runs from one block to the next.
enum class Reading
{
    AsWritten,
    EdgesAsSpaces,
};

// Whether the `length` characters at `position` stand between separators, edges that part words or
// the text's ends, and, read as written, hold no edge that parts words. A neighbour beyond the basic
// plane is judged as one character; an occurrence that splits a surrogate pair is not whole.
bool isWholeWord(QStringView text, const BlockEdges& edges, qsizetype position, qsizetype length,
                 Reading reading = Reading::AsWritten);

struct Occurrence
{
    qsizetype start = -1; // -1: none
    qsizetype length = 0;
};

// The first whole-word occurrence of the pattern that starts at or after `from` and ends at or before
// `to` (-1: the text's end), judged against the whole text. Each space of the pattern matches a space
// of the text or an edge that parts words: "arch Afficher" is found in "arch" + "Afficher" from two
// blocks, and covers both words. After an occurrence that is not whole the scan goes on one character
// later, so overlapping occurrences are all tried.
Occurrence findWholeWord(QStringView text, const BlockEdges& edges, const PatternFinder& pattern, qsizetype from = 0,
                         qsizetype to = -1);

// Whether the pattern occurs in `text` as a whole word at least once.
bool containsWholeWord(QStringView text, const BlockEdges& edges, const PatternFinder& pattern);

} // namespace wordboundary
