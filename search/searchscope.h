#pragma once

#include "corpus/elementindex.h"

#include <QString>
#include <QStringView>
#include <vector>

class PatternFinder;

// Where a full-text search looks: the whole article, or only the texts of the elements of one name.
struct SearchScope
{
    // The element's whole name; empty: the whole article.
    QString element;

    bool isWholeArticle() const { return element.isEmpty(); }
    bool operator==(const SearchScope& other) const { return element == other.element; }
    bool operator!=(const SearchScope& other) const { return !(*this == other); }
};

// A part [start, end) of an article's text.
struct TextSpan
{
    qsizetype start = 0;
    qsizetype end = 0;
};

// The parts of article `article`'s text that are the texts of its elements named `name` (a number of
// the index, or ElementIndex::none): sorted, an element nested in another of that name left in its
// outer one, two such elements side by side kept apart, so that an occurrence lying in one span lies
// in one element. Each element's text is taken without its outer whitespace: an occurrence in the
// whitespace would begin or end with whitespace, which no whole word does, so this changes nothing.
void scopeSpans(const ElementIndex& elements, quint32 name, int article, std::vector<TextSpan>& spans);

// The spans of every article at once, read in one pass over the index (a walk article by article
// would wait on memory for each): those of article n are spans[first[n]] to spans[first[n + 1]].
struct AllScopeSpans
{
    std::vector<TextSpan> spans;
    std::vector<quint32> first;
};
AllScopeSpans allScopeSpans(const ElementIndex& elements, quint32 name);

// Whether the pattern occurs, a whole word judged against the whole text and its block edges
// (search/wordboundary.h), wholly in one of the sorted spans [spans, spansEnd), which stand apart. One
// scan of the text from the first span on, so that a word costs what it costs in the whole article,
// however many spans there are.
bool containsWholeWordWithin(QStringView text, const BlockEdges& edges, const PatternFinder& pattern,
                             const TextSpan* spans, const TextSpan* spansEnd);

// Whether [start, start + length) lies wholly in one of the sorted `spans`.
bool liesWithin(const std::vector<TextSpan>& spans, qsizetype start, qsizetype length);
