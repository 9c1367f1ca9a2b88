#pragma once

#include "corpus/corpusdocument.h"
#include "search/searchresult.h"
#include "search/titleindex.h"

#include <vector>

// Records over the whole index: every article, or those whose title contains a text.

// Every article once, in document order; mode AllArticles.
SearchResult allArticles(const CorpusDocument& corpus);

// The articles whose title contains the filter text, runs of spaces counting as one and
// letter case ignored, and accents too with `ignoreAccents` (search/accentfolding.h); mode Titles.
// Indexes the titles first: for one filter, not for a text being typed.
SearchResult titleFilter(const CorpusDocument& corpus, const QString& filterText, bool ignoreAccents = false);

// The title filter as it is typed, with the same hits as titleFilter(). A text that extends an
// earlier one is looked for only among that text's hits; the hits of the shorter texts are kept,
// so erasing goes back to them without a scan.
class TitleFilter
{
public:
    // No titles.
    TitleFilter() = default;
    explicit TitleFilter(TitleIndex index);

    SearchResult filter(const QString& filterText, bool ignoreAccents);
    // Every article once, in document order, as allArticles() gives them, sharing the index's list.
    SearchResult allArticles() const;

private:
    struct Step
    {
        QString folded; // the pattern, as the index compares it
        QList<const ArticleEntry*> hits;
    };

    TitleIndex m_index;
    bool m_ignoreAccents = false;
    // Each pattern the one before extended, the shortest first.
    std::vector<Step> m_steps;
};
