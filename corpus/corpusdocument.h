#pragma once

#include "articleentry.h"
#include "xmltree.h"

#include <QStringList>
#include <memory>
#include <vector>

// The loaded corpus: the parsed tree, its element names and the index of its articles.
// Entries are referred to by pointer from search results; they stay valid until the next
// clearArticles() or buildArticleIndex().
class CorpusDocument
{
public:
    static const QString anyValue; // "- INDIFFERENT -"
    static constexpr int maxChoiceLength = 50;

    int articleCount() const { return static_cast<int>(m_articles.size()); }
    const std::vector<ArticleEntry>& articles() const { return m_articles; }
    const QStringList& elementNames() const { return m_elementNames; }
    const std::shared_ptr<const XmlTree>& document() const { return m_document; }

    void clearArticles();
    void setElementNames(QStringList names);
    void setDocument(std::shared_ptr<const XmlTree> document);
    // Replaces the index with one entry per element child of the document element.
    void buildArticleIndex();

    // What the first column of the criteria grid offers: "- INDIFFERENT -", then the distinct
    // element names cut to 50 characters, in ascending order, without the document element.
    QStringList elementChoices() const;

    static QString findTitle(pugi::xml_node article);

private:
    std::vector<ArticleEntry> m_articles;
    QStringList m_elementNames;
    std::shared_ptr<const XmlTree> m_document;
};
