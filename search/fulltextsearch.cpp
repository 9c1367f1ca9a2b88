#include "search/fulltextsearch.h"

#include "search/querymatcher.h"

#include <optional>
#include <vector>

SearchResult fullTextSearch(const CorpusDocument& corpus, const QString& query, SearchMode mode, bool caseSensitive,
                            bool ignoreAccents, const SearchScope& scope)
{
    return *fullTextSearch(corpus, query, mode, caseSensitive, ignoreAccents, SearchProgress(), scope);
}

std::optional<SearchResult> fullTextSearch(const CorpusDocument& corpus, const QString& query, SearchMode mode,
                                           bool caseSensitive, bool ignoreAccents, const SearchProgress& progress,
                                           const SearchScope& scope)
{
    SearchResult result;
    result.keep(corpus.content());
    result.splitTerms(query);
    result.setMode(mode);
    result.setCaseSensitive(caseSensitive);
    result.setIgnoreAccents(ignoreAccents);
    result.setScope(scope);
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;

    const bool all = mode != SearchMode::AnyTerm;
    if (mode != SearchMode::AllTerms && mode != SearchMode::AnyTerm && mode != SearchMode::ExactPhrase)
        return result;
    // A query of spaces only has no phrase: like the empty query, it lists every article.
    const QueryMatcher matcher(
        result.terms(), mode == SearchMode::ExactPhrase ? QueryMatcher::Form::Phrase : QueryMatcher::Form::EachTerm, cs,
        ignoreAccents);

    const std::vector<ArticleEntry>& articles = corpus.articles();
    const int total = static_cast<int>(articles.size());
    if (progress && !progress(0, total))
        return std::nullopt;
    const bool scoped = !scope.isWholeArticle();
    const AllScopeSpans within =
        scoped ? allScopeSpans(corpus.elementIndex(), corpus.elementIndex().nameId(scope.element)) : AllScopeSpans();
    const CorpusContent& content = *corpus.content();
    for (int n = 0; n < total; ++n) {
        const ArticleEntry& entry = articles[static_cast<size_t>(n)];
        const QStringView text = entry.text;
        bool hit = false;
        if (!content.textHolds(n)) {
            // Not as its store wrote it: not searched, and the window reads the file again.
        } else if (!scoped) {
            hit = matcher.matches(text, entry.edges, all);
        } else {
            const TextSpan* spans = within.spans.data() + within.first[size_t(entry.number)];
            const TextSpan* spansEnd = within.spans.data() + within.first[size_t(entry.number) + 1];
            hit = spans != spansEnd && matcher.matchesWithin(text, entry.edges, all, spans, size_t(spansEnd - spans));
        }
        if (hit)
            result.addHit(entry);
        if (progress && !progress(n + 1, total))
            return std::nullopt;
    }
    return result;
}

SearchMode queryMode(int index)
{
    switch (index) {
    case 0:
        return SearchMode::AllTerms;
    case 1:
        return SearchMode::AnyTerm;
    case 2:
        return SearchMode::ExactPhrase;
    default:
        return SearchMode::AllArticles;
    }
}
