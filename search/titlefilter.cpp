#include "titlefilter.h"

#include "patternfinder.h"

SearchResult allArticles(const CorpusDocument& corpus)
{
    SearchResult result;
    result.keep(corpus.content());
    for (const ArticleEntry& entry : corpus.articles())
        result.addHit(entry);
    return result;
}

SearchResult titleFilter(const CorpusDocument& corpus, const QString& filterText)
{
    SearchResult result;
    result.keep(corpus.content());
    result.splitTerms(filterText);
    result.setMode(SearchMode::Titles);
    result.setCaseSensitive(false);
    const QString pattern = result.phrase();
    if (pattern.isEmpty()) {
        // The empty pattern occurs in every title.
        for (const ArticleEntry& entry : corpus.articles())
            result.addHit(entry);
        return result;
    }
    // One finder for all the titles: the pattern is folded once, not once per title.
    const PatternFinder finder(pattern, Qt::CaseInsensitive);
    for (const ArticleEntry& entry : corpus.articles()) {
        if (entry.title.size() >= pattern.size() && finder.indexIn(entry.title) >= 0)
            result.addHit(entry);
    }
    return result;
}
