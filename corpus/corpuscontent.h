#pragma once

#include "articleentry.h"
#include "elementindex.h"

#include <QStringList>
#include <vector>

// What reading a corpus file yields: the articles in document order, where their elements stand,
// and the names of the elements. Nothing of the parser is kept.
struct CorpusContent
{
    std::vector<ArticleEntry> articles;
    ElementIndex elements;
    QString rootName;
    // Each element name of the file once, the document element's included, in order of first use.
    QStringList elementNames;
};
