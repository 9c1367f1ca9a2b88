#pragma once

#include "corpus/corpusdocument.h"
#include "corpus/corpusfile.h"

#include <QFile>
#include <memory>

// Suites of the corpus alone do not link the search, nor see its records.
#if defined(TARVANE_SEARCH_LIBRARY)
#include "search/searchresult.h"
Q_DECLARE_METATYPE(SearchMode)
#endif

// Corpora for the suites, read through the real parser.
namespace testcorpus {

// Empty when the bytes are refused.
inline CorpusDocument of(const QByteArray& xml)
{
    CorpusDocument corpus;
    if (std::optional<CorpusContent> content = corpusfile::parse(xml))
        corpus.setContent(std::move(*content));
    return corpus;
}

inline CorpusDocument ofFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? of(file.readAll()) : CorpusDocument();
}

#if defined(TARVANE_SEARCH_LIBRARY)
// A record of `mode` listing one article per text (or per title), numbered from 0 in order; the
// record keeps its articles alive, as one made from a corpus does.
inline SearchResult record(SearchMode mode, const QString& query, bool caseSensitive, const QStringList& texts,
                           const QStringList& titles = {})
{
    auto content = std::make_shared<CorpusContent>();
    for (qsizetype i = 0; i < std::max(texts.size(), titles.size()); ++i)
        content->articles.push_back(
            {i < titles.size() ? titles.at(i) : QString(), int(i), i < texts.size() ? texts.at(i) : QString()});
    SearchResult result;
    result.setMode(mode);
    result.splitTerms(query);
    result.setCaseSensitive(caseSensitive);
    for (const ArticleEntry& entry : content->articles)
        result.addHit(entry);
    result.keep(std::move(content));
    return result;
}
#endif

} // namespace testcorpus
