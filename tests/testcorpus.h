#pragma once

#include "corpusdocument.h"
#include "corpusfile.h"

#include <QFile>

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

} // namespace testcorpus
