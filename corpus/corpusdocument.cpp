#include "corpus/corpusdocument.h"

#include "corpus/frenchorder.h"

#include <algorithm>

const QString CorpusDocument::anyValue = QStringLiteral("- INDIFFERENT -");

CorpusDocument::CorpusDocument() : m_content(std::make_shared<const CorpusContent>()) {}

void CorpusDocument::clearArticles()
{
    // A content of the names alone: the articles go when the last record that points into them does.
    auto names = std::make_shared<CorpusContent>();
    names->rootName = m_content->rootName;
    names->elementNames = m_content->elementNames;
    m_content = std::move(names);
}

void CorpusDocument::setContent(CorpusContent content)
{
    m_content = std::make_shared<const CorpusContent>(std::move(content));
}

QList<ElementChoice> CorpusDocument::elementChoices() const
{
    QList<ElementChoice> choices;
    choices.reserve(m_content->elementNames.size());
    for (const QString& elementName : m_content->elementNames) {
        const QString shown = elementName.left(maxChoiceLength);
        if (shown != m_content->rootName)
            choices.append({shown, elementName});
    }
    const FrenchOrder order;
    std::vector<FrenchOrder::Item> items;
    items.reserve(size_t(choices.size()));
    for (qsizetype i = 0; i < choices.size(); ++i)
        items.push_back(FrenchOrder::item(choices.at(i).shown, i));
    order.sort(items);
    QList<ElementChoice> sorted;
    sorted.reserve(choices.size() + 1);
    sorted.append({anyValue, anyValue});
    for (const FrenchOrder::Item& item : items)
        sorted.append(choices.at(item.index));
    // Names cut to the same text: by their whole names.
    for (auto run = sorted.begin() + 1; run != sorted.end();) {
        auto next = std::find_if(run, sorted.end(), [run](const ElementChoice& c) { return c.shown != run->shown; });
        std::sort(run, next, [&order](const ElementChoice& a, const ElementChoice& b) {
            return order.compare(a.name, b.name) < 0;
        });
        run = next;
    }
    return sorted;
}
