#include "search/titlefilter.h"

namespace {

// The hits kept for earlier texts, beyond the last, in titles of the corpus.
constexpr qsizetype keptHitsPerTitle = 2;

} // namespace

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
    return TitleFilter(TitleIndex(corpus.content())).filter(filterText, ignoreAccents);
}

TitleFilter::TitleFilter(TitleIndex index) : m_index(std::move(index)) {}

SearchResult TitleFilter::allArticles() const
{
    SearchResult result;
    result.keep(m_index.content());
    result.setHits(m_index.everyArticle());
    return result;
}

SearchResult TitleFilter::filter(const QString& filterText, bool ignoreAccents)
{
    SearchResult result;
    result.keep(m_index.content());
    result.splitTerms(filterText);
    result.setMode(SearchMode::Titles);
    result.setCaseSensitive(false);
    result.setIgnoreAccents(ignoreAccents);
    const QString pattern = result.phrase();
    if (pattern.isEmpty()) {
        // The empty pattern occurs in every title.
        result.setHits(m_index.everyArticle());
        return result;
    }
    if (ignoreAccents != m_ignoreAccents) {
        m_steps.clear();
        m_ignoreAccents = ignoreAccents;
    }
    const QString folded = TitleIndex::fold(pattern, ignoreAccents);
    if (folded.isEmpty()) {
        // Folded another way: nothing kept applies to it.
        m_steps.clear();
        result.setHits(m_index.find(pattern, folded, ignoreAccents, m_index.everyArticle()));
        return result;
    }
    // Back to the longest earlier pattern that this one extends: its titles are the only candidates.
    while (!m_steps.empty() && !folded.startsWith(m_steps.back().folded))
        m_steps.pop_back();
    if (!m_steps.empty() && m_steps.back().folded == folded) {
        result.setHits(m_steps.back().hits);
        return result;
    }
    const QList<const ArticleEntry*>& among = m_steps.empty() ? m_index.everyArticle() : m_steps.back().hits;
    m_steps.push_back({folded, m_index.find(pattern, folded, ignoreAccents, among)});
    // The shortest patterns hold the most hits: they go first when too many are kept.
    qsizetype kept = 0;
    for (const Step& step : m_steps)
        kept += step.hits.size();
    const qsizetype limit = keptHitsPerTitle * m_index.everyArticle().size() + m_steps.back().hits.size();
    while (kept > limit) {
        kept -= m_steps.front().hits.size();
        m_steps.erase(m_steps.begin());
    }
    result.setHits(m_steps.back().hits);
    return result;
}
