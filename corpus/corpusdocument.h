#pragma once

#include "corpus/articleentry.h"
#include "corpus/corpuscontent.h"
#include "corpus/elementindex.h"

#include <QList>
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

// The loaded corpus: its articles, where their elements stand, and the names of its elements.
// A load is held as one shared, immutable content: whatever points into it (search results, the
// values offered by the cross search) keeps it alive, so that clearing or replacing the document
// never leaves them dangling.
class CorpusDocument
{
public:
    static const QString anyValue; // "- INDIFFERENT -"
    static constexpr int maxChoiceLength = 50;

    CorpusDocument();

    // Never null.
    const std::shared_ptr<const CorpusContent>& content() const { return m_content; }

    int articleCount() const { return static_cast<int>(m_content->articles.size()); }
    const std::vector<ArticleEntry>& articles() const { return m_content->articles; }
    // Each element name once, the document element's included.
    const QStringList& elementNames() const { return m_content->elementNames; }
    const QString& rootName() const { return m_content->rootName; }
    // Where the elements of each article stand, for the cross search.
    const ElementIndex& elementIndex() const { return m_content->elements; }

    // Lets go of the articles and their index; the names stay, as a failed load keeps them.
    void clearArticles();
    void setContent(CorpusContent content);

    // What the first column of the criteria grid offers: "- INDIFFERENT -", then the distinct
    // element names, shown cut to 50 characters, in the reader's order (FrenchOrder) of what is
    // shown, without the document element. Two long names that only differ after the cut are both
    // listed, in the order of their whole names.
    QList<ElementChoice> elementChoices() const;

private:
    std::shared_ptr<const CorpusContent> m_content;
};
