#include "fulltextsearch.h"

#include "patternfinder.h"
#include "termmatcher.h"
#include "wordboundary.h"

#include <algorithm>
#include <optional>
#include <vector>

using wordboundary::containsWholeWord;

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

    std::optional<TermMatcher> terms;
    std::optional<PatternFinder> phrase;
    const bool all = mode != SearchMode::AnyTerm;
    const TermMatcher::Accents accents = ignoreAccents ? TermMatcher::Accents::Ignored : TermMatcher::Accents::Kept;
    if (mode == SearchMode::AllTerms || mode == SearchMode::AnyTerm) {
        terms.emplace(result.terms(), cs, TermMatcher::Method::Automatic, accents);
    } else if (mode == SearchMode::ExactPhrase) {
        // A query of spaces only has no phrase: like the empty query, it lists every article.
        // Only the automaton reads the text through folded forms: it takes the phrase as one term.
        if (!result.terms().isEmpty() && ignoreAccents)
            terms.emplace(QStringList{result.phrase()}, cs, TermMatcher::Method::OnePass, accents);
        else if (!result.terms().isEmpty())
            phrase.emplace(result.phrase(), cs);
    } else {
        return result;
    }

    const std::vector<ArticleEntry>& articles = corpus.articles();
    const int total = static_cast<int>(articles.size());
    if (progress && !progress(0, total))
        return std::nullopt;
    const bool scoped = !scope.isWholeArticle();
    const AllScopeSpans within =
        scoped ? allScopeSpans(corpus.elementIndex(), corpus.elementIndex().nameId(scope.element)) : AllScopeSpans();
    for (int n = 0; n < total; ++n) {
        const ArticleEntry& entry = articles[static_cast<size_t>(n)];
        const QStringView text = entry.text;
        bool hit = false;
        if (!scoped) {
            hit = terms ? terms->matches(text, entry.edges, all)
                        : !phrase || containsWholeWord(text, entry.edges, *phrase);
        } else {
            const TextSpan* spans = within.spans.data() + within.first[size_t(entry.number)];
            const TextSpan* spansEnd = within.spans.data() + within.first[size_t(entry.number) + 1];
            if (spans == spansEnd)
                hit = false;
            else if (terms)
                hit = terms->matchesWithin(text, entry.edges, all, spans, size_t(spansEnd - spans));
            else
                hit = !phrase || containsWholeWordWithin(text, entry.edges, *phrase, spans, spansEnd);
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
