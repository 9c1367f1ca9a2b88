#include "corpusdocument.h"

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
    choices.reserve(m_content->elementNames.size() + 1);
    for (const QString& elementName : m_content->elementNames) {
        const QString shown = elementName.left(maxChoiceLength);
        if (shown != m_content->rootName)
            choices.append({shown, elementName});
    }
    std::sort(choices.begin(), choices.end(), [](const ElementChoice& a, const ElementChoice& b) {
        return a.shown != b.shown ? a.shown < b.shown : a.name < b.name;
    });
    choices.prepend({anyValue, anyValue});
    return choices;
}
