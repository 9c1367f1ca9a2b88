#pragma once

#include "corpus/articleentry.h"
#include "corpus/elementindex.h"
#include "corpus/elementroles.h"
#include "corpus/textcheck.h"

#include <QStringList>
#include <memory>
#include <vector>

// What reading a corpus file yields: the articles in document order, where their elements stand,
// and the names of the elements. Nothing of the parser is kept. Moved, never copied: the articles'
// edges are views of the index's.
struct CorpusContent
{
    CorpusContent() = default;
    CorpusContent(CorpusContent&&) = default;
    CorpusContent& operator=(CorpusContent&&) = default;
    CorpusContent(const CorpusContent&) = delete;
    CorpusContent& operator=(const CorpusContent&) = delete;
    ~CorpusContent() = default;

    // What the texts and tables lie in when they come from bytes in memory: it goes last.
    std::shared_ptr<const void> storage;
    std::vector<ArticleEntry> articles;
    ElementIndex elements;
    QString rootName;
    // Each element name of the file once, the document element's included, in order of first use.
    QStringList elementNames;
    // What the load counted of each element name of the index, and the roles guessed from it.
    std::vector<ElementStats> elementStats;
    ElementRoles roles;
    // Of texts read from a store, which are checked as they are used; none after a parse.
    std::shared_ptr<TextCheck> textCheck;

    // Whether article `number`'s text can be used: always after a parse; from a store, once its
    // blocks are found as written.
    bool textHolds(int number) const { return !textCheck || textCheck->article(number); }
};
