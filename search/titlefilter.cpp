#include "titlefilter.h"

#include "accentfolding.h"
#include "patternfinder.h"

SearchResult allArticles(const CorpusDocument& corpus)
{
    SearchResult result;
    result.keep(corpus.content());
    for (const ArticleEntry& entry : corpus.articles())
        result.addHit(entry);
    return result;
}

SearchResult titleFilter(const CorpusDocument& corpus, const QString& filterText, bool ignoreAccents)
{
    SearchResult result;
    result.keep(corpus.content());
    result.splitTerms(filterText);
    result.setMode(SearchMode::Titles);
    result.setCaseSensitive(false);
    result.setIgnoreAccents(ignoreAccents);
    const QString pattern = ignoreAccents ? accentfolding::fold(result.phrase()) : result.phrase();
    if (pattern.isEmpty()) {
        // The empty pattern occurs in every title.
        for (const ArticleEntry& entry : corpus.articles())
            result.addHit(entry);
        return result;
    }
    // One finder for all the titles: the pattern is folded once, not once per title.
    const PatternFinder finder(pattern, Qt::CaseInsensitive);
    if (ignoreAccents) {
        // Each title folded in turn into the same buffer: a title is short, the titles are many.
        QString folded;
        for (const ArticleEntry& entry : corpus.articles()) {
            accentfolding::foldInto(entry.title, folded);
            if (folded.size() >= pattern.size() && finder.indexIn(folded) >= 0)
                result.addHit(entry);
        }
        return result;
    }
    for (const ArticleEntry& entry : corpus.articles()) {
        if (entry.title.size() >= pattern.size() && finder.indexIn(entry.title) >= 0)
            result.addHit(entry);
    }
    return result;
}
