#include "titlefilter.h"

SearchResult allArticles(const CorpusDocument& corpus)
{
    SearchResult result;
    for (const ArticleEntry& entry : corpus.articles())
        result.addHit(entry);
    return result;
}

SearchResult titleFilter(const CorpusDocument& corpus, const QString& filterText)
{
    SearchResult result;
    result.splitTerms(filterText);
    result.setMode(searchmode::titles);
    result.setCaseSensitive(false);
    const QString pattern = result.phrase();
    for (const ArticleEntry& entry : corpus.articles()) {
        if (entry.title.contains(pattern, Qt::CaseInsensitive))
            result.addHit(entry);
    }
    return result;
}
