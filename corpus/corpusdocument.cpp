#include "corpusdocument.h"

#include <algorithm>

const QString CorpusDocument::anyValue = QStringLiteral("- INDIFFERENT -");

void CorpusDocument::clearArticles()
{
    // Swapped out, so that the memory goes back at once.
    std::vector<ArticleEntry>().swap(m_content.articles);
    m_content.elements.clear();
}

void CorpusDocument::setContent(CorpusContent content)
{
    m_content = std::move(content);
}

QList<ElementChoice> CorpusDocument::elementChoices() const
{
    QList<ElementChoice> choices;
    choices.reserve(m_content.elementNames.size() + 1);
    for (const QString& elementName : m_content.elementNames) {
        const QString shown = elementName.left(maxChoiceLength);
        if (shown != m_content.rootName)
            choices.append({shown, elementName});
    }
    std::sort(choices.begin(), choices.end(), [](const ElementChoice& a, const ElementChoice& b) {
        return a.shown != b.shown ? a.shown < b.shown : a.name < b.name;
    });
    choices.prepend({anyValue, anyValue});
    return choices;
}
