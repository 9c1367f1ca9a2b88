#include "fulltextsearch.h"

#include "patternfinder.h"
#include "wordboundary.h"

#include <vector>

using wordboundary::containsWholeWord;

SearchResult fullTextSearch(const CorpusDocument& corpus, const QString& query, const QString& mode, bool caseSensitive)
{
    SearchResult result;
    result.splitTerms(query);
    result.setMode(mode);
    result.setCaseSensitive(caseSensitive);
    const Qt::CaseSensitivity cs = caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;

    std::vector<PatternFinder> patterns;
    bool all = false;
    if (mode == searchmode::allTerms || mode == searchmode::anyTerm) {
        for (const QString& term : result.terms())
            patterns.emplace_back(term, cs);
        all = mode == searchmode::allTerms;
    } else if (mode == searchmode::exactPhrase) {
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

QString queryMode(int index)
{
    switch (index) {
    case 0:
        return searchmode::allTerms;
    case 1:
        return searchmode::anyTerm;
    case 2:
        return searchmode::exactPhrase;
    default:
        return {};
    }
}
