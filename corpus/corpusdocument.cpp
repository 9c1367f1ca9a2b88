#include "corpusdocument.h"

#include "xmlnodes.h"

#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <cstring>
#include <vector>

using namespace xmlnodes;

namespace {

bool isText(pugi::xml_node node)
{
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

// One walk over an article: its text, exactly as the file has it, and its elements with the range
// of the text that each holds. Reused from article to article to keep its buffers.
class ArticleWalker
{
public:
    explicit ArticleWalker(ElementIndex& index) : m_index(index) {}

    QString walk(pugi::xml_node article)
    {
        m_pieces.clear();
        m_elements.clear();
        bool hasChildNode = false;
        for (pugi::xml_node child = article.first_child(); child && !hasChildNode; child = child.next_sibling())
            hasChildNode = !isBlankText(child);
        m_index.beginArticle(hasChildNode);

        // Element ranges are first counted in text pieces, then turned into character positions.
        std::vector<quint32>& open = m_open;
        open.clear();
        pugi::xml_node node = article.first_child();
        while (node) {
            if (isText(node)) {
                m_pieces.push_back(node.value());
            } else if (node.type() == pugi::node_element) {
                const quint32 element = m_index.addElement(node.name(), piecePosition());
                m_elements.push_back(element);
                for (pugi::xml_attribute attribute = node.first_attribute(); attribute;
                     attribute = attribute.next_attribute())
                    m_index.addValue(element, attribute.value());
                if (node.first_child()) {
                    open.push_back(element);
                    node = node.first_child();
                    continue;
                }
            }
            while (!node.next_sibling()) {
                node = node.parent();
                if (node == article) {
                    node = pugi::xml_node();
                    break;
                }
                m_index.setTextEnd(open.back(), piecePosition());
                open.pop_back();
            }
            if (node)
                node = node.next_sibling();
        }
        return decode();
    }

private:
    quint32 piecePosition() const { return static_cast<quint32>(m_pieces.size()); }

    QString decode()
    {
        size_t bytes = 0;
        m_sizes.resize(m_pieces.size());
        for (size_t i = 0; i < m_pieces.size(); ++i) {
            m_sizes[i] = std::strlen(m_pieces[i]);
            bytes += m_sizes[i];
        }
        // UTF-16 never needs more units than UTF-8 has bytes.
        QString text(static_cast<qsizetype>(bytes), Qt::Uninitialized);
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        QChar* const begin = text.data();
        QChar* out = begin;
        m_offsets.resize(m_pieces.size() + 1);
        for (size_t i = 0; i < m_pieces.size(); ++i) {
            m_offsets[i] = static_cast<quint32>(out - begin);
            out = decoder.appendToBuffer(out, QByteArrayView(m_pieces[i], static_cast<qsizetype>(m_sizes[i])));
        }
        m_offsets[m_pieces.size()] = static_cast<quint32>(out - begin);
        text.resize(out - begin);
        if (text.capacity() - text.size() > text.size() / 8)
            text.squeeze();
        for (const quint32 element : m_elements) {
            const ElementIndex::Element& e = m_index.elementAt(element);
            m_index.setTextRange(element, m_offsets[e.textStart], m_offsets[e.textEnd]);
        }
        return text;
    }

    ElementIndex& m_index;
    std::vector<const char*> m_pieces;
    std::vector<size_t> m_sizes;
    std::vector<quint32> m_offsets;
    std::vector<quint32> m_elements;
    std::vector<quint32> m_open;
};

} // namespace

const QString CorpusDocument::anyValue = QStringLiteral("- INDIFFERENT -");

void CorpusDocument::clearArticles()
{
    m_articles.clear();
    m_elementIndex.clear();
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
    m_elementIndex.clear();
    if (!m_document)
        return;
    const pugi::xml_node root = m_document->documentElement();
    ArticleWalker walker(m_elementIndex);
    // Comments, processing instructions and stray text between articles are not articles.
    for (pugi::xml_node art = root.first_child(); art; art = art.next_sibling()) {
        if (art.type() != pugi::node_element)
            continue;
        ArticleEntry entry;
        entry.title = findTitle(art);
        entry.node = art;
        entry.number = static_cast<int>(m_articles.size());
        entry.text = walker.walk(art);
        m_articles.push_back(std::move(entry));
    }
    m_elementIndex.finish();
}

QList<ElementChoice> CorpusDocument::elementChoices() const
{
    const QString rootName = m_document ? name(m_document->documentElement()) : QString();
    // The collector shares one string per name, so most repetitions are told by their data alone.
    QSet<const QChar*> seen;
    QSet<QString> distinct;
    for (const QString& elementName : m_elementNames) {
        if (seen.contains(elementName.constData()))
            continue;
        seen.insert(elementName.constData());
        if (elementName.left(maxChoiceLength) != rootName)
            distinct.insert(elementName);
    }
    QList<ElementChoice> choices;
    choices.reserve(distinct.size() + 1);
    for (const QString& elementName : distinct)
        choices.append({elementName.left(maxChoiceLength), elementName});
    std::sort(choices.begin(), choices.end(), [](const ElementChoice& a, const ElementChoice& b) {
        return a.shown != b.shown ? a.shown < b.shown : a.name < b.name;
    });
    choices.prepend({anyValue, anyValue});
    return choices;
}
