#include "search/titlelookup.h"

#include "search/accentfolding.h"

namespace titlelookup {

QString caseKey(QStringView text)
{
    return accentfolding::fold(text, accentfolding::Level::Apostrophes).toCaseFolded();
}

SearchResult titleLookUp(const CorpusDocument& corpus, const QString& word, const TitleKey& key)
{
    SearchResult result;
    result.keep(corpus.content());
    result.splitTerms(word);
    result.setMode(SearchMode::Titles);
    result.setCaseSensitive(false);
    const QString wanted = key(word);
    if (wanted.isEmpty())
        return result;
    for (const ArticleEntry& entry : corpus.articles()) {
        if (key(entry.title) == wanted)
            result.addHit(entry);
    }
    return result;
}

int bestTitleRow(const SearchResult& titles, const QString& text, const TitleKey& key)
{
    if (titles.count() == 0)
        return -1;
    const QString wanted = key(text.split(QLatin1Char(' '), Qt::SkipEmptyParts).join(QLatin1Char(' ')));
    int startsWith = -1;
    for (int row = 0; row < titles.count(); ++row) {
        const QString title = key(titles.hits().at(row)->title);
        if (title == wanted)
            return row;
        if (startsWith < 0 && title.startsWith(wanted))
            startsWith = row;
    }
    return std::max(startsWith, 0);
}

} // namespace titlelookup
