#include "corpusdocument.h"

#include "xmlnodes.h"

#include <QSet>
#include <algorithm>

using namespace xmlnodes;

const QString CorpusDocument::anyValue = QStringLiteral("- INDIFFERENT -");

void CorpusDocument::clearArticles()
{
    m_articles.clear();
}

void CorpusDocument::setElementNames(QStringList names)
{
    m_elementNames = std::move(names);
}

void CorpusDocument::setDocument(std::shared_ptr<const XmlTree> document)
{
    m_document = std::move(document);
}

QString CorpusDocument::findTitle(pugi::xml_node article)
{
    // Down the chain of first children to the first leaf with text, then forward over siblings
    // without text; the walk only moves down or forward, so it ends.
    pugi::xml_node e = article;
    while (e && firstChildElement(e) && hasStructuralText(e)) {
        while (pugi::xml_node child = firstChildElement(e))
            e = child;
        while (e && !hasStructuralText(e))
            e = nextSiblingElement(e);
    }
    return e ? structuralText(e) : QString();
}

void CorpusDocument::buildArticleIndex()
{
    m_articles.clear();
    if (!m_document)
        return;
    const pugi::xml_node root = m_document->documentElement();
    // Comments, processing instructions and stray text between articles are not articles.
    for (pugi::xml_node art = root.first_child(); art; art = art.next_sibling()) {
        if (art.type() != pugi::node_element)
            continue;
        ArticleEntry entry;
        entry.title = findTitle(art);
        entry.node = art;
        entry.number = static_cast<int>(m_articles.size());
        entry.text = fullText(art);
        m_articles.push_back(std::move(entry));
    }
}

QStringList CorpusDocument::elementChoices() const
{
    const QString rootName = m_document ? name(m_document->documentElement()) : QString();
    // The collector shares one string per name, so most repetitions are told by their data alone.
    QSet<const QChar*> seen;
    QSet<QString> distinct;
    for (const QString& elementName : m_elementNames) {
        if (seen.contains(elementName.constData()))
            continue;
        seen.insert(elementName.constData());
        QString cut = elementName.left(maxChoiceLength);
        if (cut != rootName)
            distinct.insert(std::move(cut));
    }
    QStringList choices(distinct.cbegin(), distinct.cend());
    std::sort(choices.begin(), choices.end());
    choices.prepend(anyValue);
    return choices;
}
