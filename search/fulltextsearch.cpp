#include "fulltextsearch.h"

#include "patternfinder.h"
#include "wordboundary.h"

#include <vector>

using wordboundary::containsWholeWord;

SearchResult fullTextSearch(const CorpusDocument& corpus, const QString& query, SearchMode mode, bool caseSensitive)
{
    SearchResult result;
    result.keep(corpus.content());
    result.splitTerms(query);
    result.setMode(mode);
    result.setCaseSensitive(caseSensitive);
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;

    std::vector<PatternFinder> patterns;
    bool all = false;
    if (mode == SearchMode::AllTerms || mode == SearchMode::AnyTerm) {
        for (const QString& term : result.terms())
            patterns.emplace_back(term, cs);
        all = mode == SearchMode::AllTerms;
    } else if (mode == SearchMode::ExactPhrase) {
        // A query of spaces only has no phrase: like the empty query, it lists every article.
        if (!result.terms().isEmpty())
            patterns.emplace_back(result.phrase(), cs);
        all = true;
    } else {
        return result;
    }

    for (const ArticleEntry& entry : corpus.articles()) {
        const QStringView text = entry.text;
        bool hit = all;
        for (const PatternFinder& pattern : patterns) {
            if (containsWholeWord(text, pattern) != all) {
                hit = !all;
                break;
            }
        }
        if (hit)
            result.addHit(entry);
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
