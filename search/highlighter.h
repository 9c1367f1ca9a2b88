#pragma once

#include "search/searchresult.h"

#include <QList>
#include <QString>
#include <functional>

// Marks the matches of a result in an article's text, red, bold and underlined.
namespace highlighter {

inline const QString openingMarkup = QStringLiteral("<font color=\"red\"><b><u>");
inline const QString closingMarkup = QStringLiteral("</u></b></font>");

struct Range
{
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const Range& other) const { return start == other.start && length == other.length; }
};

// Every occurrence of `pattern` in `text`, whole words only when `wholeWords` is set, the text's
// block edges then parting words and standing for spaces of the pattern (search/wordboundary.h); with
// a non-negative `limit`, the first `limit` of them only.
QList<Range> occurrences(const QString& text, const BlockEdges& edges, const QString& pattern, Qt::CaseSensitivity cs,
                         bool wholeWords, qsizetype limit = -1);

// What the find bar finds of `word` in `text`: its whole-word occurrences, spaces and all taken as one
// phrase, under the case and accent rules of the search (search/querymatcher.h); with a non-negative
// `limit`, the first `limit` of them only.
QList<Range> wordRanges(const QString& text, const BlockEdges& edges, const QString& word, Qt::CaseSensitivity cs,
                        bool ignoreAccents, qsizetype limit = -1);

// What the result's mode marks in `text`, whose block edges are `edges`, sorted, marks that overlap or touch
// merged, but for two words meeting at an edge.
QList<Range> ranges(const SearchResult& result, const QString& text, const BlockEdges& edges);

// The same marks from the start of the text, at most `limit` of them (non-negative), so that a text
// of millions of matches costs no more than `limit` ranges. Each range is marked exactly as `ranges`
// marks it; the text after the last one is left unmarked when the limit was reached.
QList<Range> firstRanges(const SearchResult& result, const QString& text, const BlockEdges& edges, qsizetype limit);

// The marks of hit `index` of the result (none when there is no such hit): those of `ranges` that lie
// within the result's scope.
QList<Range> hitRanges(const SearchResult& result, int index);

// The marks of hit `index` that start before `end`, `limit` of them at most, and whether the hit has
// others, or may have (past `limit + 1` occurrences of a pattern they stop being looked for). A text
// is looked at only as far as that needs: a frequent word in a long text costs the part before `end`.
struct Marks
{
    QList<Range> ranges;
    bool more = false;
};
Marks hitRangesBefore(const SearchResult& result, int index, qsizetype end, qsizetype limit);

// Gives `take` the marks of every hit in turn, as hitRanges does without a limit, until it answers
// false; returns whether every hit was given.
bool eachHitRanges(const SearchResult& result, const std::function<bool(int, const QList<Range>&)>& take);

// Hit `index` as the marked-up text a user saves: the article text with the opening and closing
// markup around each marked range and nothing else (no escaping); the plain text when nothing is
// marked, empty when there is no such hit.
QString markedText(const SearchResult& result, int index);

} // namespace highlighter
