#pragma once

#include "articleentry.h"
#include "elementindex.h"
#include "xmltree.h"

#include <QStringList>
#include <memory>
#include <vector>

// One entry of the first column of the criteria grid: the name as shown, cut to 50 characters,
// and the element's whole name, which is what a choice searches.
struct ElementChoice
{
    QString shown;
    QString name;
    bool operator==(const ElementChoice& other) const { return shown == other.shown && name == other.name; }
};

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
    // Where the elements of each article stand, for the cross search.
    const ElementIndex& elementIndex() const { return m_elementIndex; }

    void clearArticles();
    void setElementNames(QStringList names);
    void setDocument(std::shared_ptr<const XmlTree> document);
    // Replaces the index with one entry per element child of the document element, each with its
    // whole text, and indexes the elements of every article.
    void buildArticleIndex();

    // What the first column of the criteria grid offers: "- INDIFFERENT -", then the distinct
    // element names, shown cut to 50 characters, in ascending order of what is shown, without the
    // document element. Two long names that only differ after the cut are both listed.
    QList<ElementChoice> elementChoices() const;

    static QString findTitle(pugi::xml_node article);

private:
    std::vector<ArticleEntry> m_articles;
    QStringList m_elementNames;
    std::shared_ptr<const XmlTree> m_document;
    ElementIndex m_elementIndex;
};
