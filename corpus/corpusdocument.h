#pragma once

#include "articleentry.h"
#include "corpuscontent.h"
#include "elementindex.h"

#include <QList>
#include <QStringList>
#include <vector>

// One entry of the first column of the criteria grid: the name as shown, cut to 50 characters,
// and the element's whole name, which is what a choice searches.
struct ElementChoice
{
    QString shown;
    QString name;
    bool operator==(const ElementChoice& other) const { return shown == other.shown && name == other.name; }
};

// The loaded corpus: its articles, where their elements stand, and the names of its elements.
// Entries are referred to by pointer from search results, and texts by view from the value boxes;
// both stay valid until the next clearArticles() or setContent().
class CorpusDocument
{
public:
    static const QString anyValue; // "- INDIFFERENT -"
    static constexpr int maxChoiceLength = 50;

    int articleCount() const { return static_cast<int>(m_content.articles.size()); }
    const std::vector<ArticleEntry>& articles() const { return m_content.articles; }
    // Each element name once, the document element's included.
    const QStringList& elementNames() const { return m_content.elementNames; }
    const QString& rootName() const { return m_content.rootName; }
    // Where the elements of each article stand, for the cross search.
    const ElementIndex& elementIndex() const { return m_content.elements; }

    // Empties the articles and their index; the names stay, as a failed load keeps them.
    void clearArticles();
    void setContent(CorpusContent content);

    // What the first column of the criteria grid offers: "- INDIFFERENT -", then the distinct
    // element names, shown cut to 50 characters, in ascending order of what is shown, without the
    // document element. Two long names that only differ after the cut are both listed.
    QList<ElementChoice> elementChoices() const;

private:
    CorpusContent m_content;
};
