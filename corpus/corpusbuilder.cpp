#include "corpusbuilder.h"

#include <QStringDecoder>
#include <expat.h>
#include <limits>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

namespace corpusbuilder {
namespace {

bool isXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Receives the parser's events and builds the content, one article at a time. Inside an article it
// keeps what the title rule and the element index need, all of it in document order: the text
// nodes, as ranges of the article's UTF-8 text, and a record for the article and each element below.
class Builder
{
public:
    explicit Builder(XML_Parser parser) : m_parser(parser) {}

    CorpusContent take()
    {
        m_content.elements.finish();
        // The names of the elements inside the articles after those of the document and its articles.
        const ElementIndex& index = m_content.elements;
        for (quint32 id = 0; id < index.nameCount(); ++id) {
            if (m_outerNames.count(index.name(id).toStdString()) == 0)
                m_content.elementNames.append(index.name(id));
        }
        return std::move(m_content);
    }

    void startElement(const char* name, const char** attributes);
    void endElement();
    void characters(const char* text, int length);
    void otherNode();
    void startCdata();
    void endCdata();
    void skippedEntity(const char* name);

private:
    enum class Kind : unsigned char
    {
        None,
        Element,
        Other, // text that is not only whitespace, CDATA, a comment, an instruction
    };

    struct Piece
    {
        quint32 start = 0; // in m_bytes
        quint32 end = 0;
        bool cdata = false;
        bool blank = true; // only whitespace, outside CDATA
        bool counts() const { return cdata || !blank; }
        bool hasText() const { return end > start && counts(); }
    };

    // The article (node 0) and the elements below it.
    struct Node
    {
        quint32 element = ElementIndex::none;
        quint32 firstPiece = 0;
        quint32 endPiece = 0;
        quint32 subtreeEnd = 0; // the node after its last descendant
        quint32 lastChild = ElementIndex::none;
        Kind firstChild = Kind::None; // whitespace-only text is looked through
        Kind nextSibling = Kind::None;
        bool hasText = false; // some text below it that is not whitespace-only
    };

    bool inArticle() const { return m_depth >= 2; }
    void closeText();
    // A node that counts starts under the innermost open node.
    void childStarts(Kind kind);
    void closeNode();
    void finishArticle();
    QString title(const QString& text, const std::vector<quint32>& offsets) const;
    void failMemory() { XML_StopParser(m_parser, XML_FALSE); }

    XML_Parser m_parser;
    CorpusContent m_content;
    std::unordered_set<std::string> m_outerNames;
    int m_depth = 0;
    bool m_textOpen = false;
    bool m_cdata = false;
    std::string m_bytes;
    std::vector<Piece> m_pieces;
    std::vector<Node> m_nodes;
    std::vector<quint32> m_open;
    // Reused from article to article.
    std::vector<quint32> m_offsets;
};

void Builder::closeText()
{
    if (!m_textOpen)
        return;
    m_textOpen = false;
    Piece& piece = m_pieces.back();
    piece.end = static_cast<quint32>(m_bytes.size());
    if (!piece.counts())
        return;
    childStarts(Kind::Other);
    if (piece.hasText())
        m_nodes[m_open.back()].hasText = true;
}

void Builder::childStarts(Kind kind)
{
    Node& parent = m_nodes[m_open.back()];
    if (parent.firstChild == Kind::None)
        parent.firstChild = kind;
    if (parent.lastChild != ElementIndex::none) {
        m_nodes[parent.lastChild].nextSibling = kind;
        parent.lastChild = ElementIndex::none;
    }
}

void Builder::startElement(const char* name, const char** attributes)
{
    if (m_depth == 0) {
        m_content.rootName = QString::fromUtf8(name);
    }
    if (m_depth <= 1) {
        if (m_outerNames.insert(name).second)
            m_content.elementNames.append(QString::fromUtf8(name));
    }
    if (m_depth == 1) {
        // An article: its own attributes are not searched, only those of the elements below it.
        m_bytes.clear();
        m_pieces.clear();
        m_nodes.assign(1, Node());
        m_open.assign(1, 0);
        m_content.elements.beginArticle();
    } else if (m_depth >= 2) {
        closeText();
        childStarts(Kind::Element);
        Node node;
        node.element = m_content.elements.addElement(name);
        for (const char** a = attributes; *a; a += 2)
            m_content.elements.addValue(node.element, a[1]);
        node.firstPiece = static_cast<quint32>(m_pieces.size());
        if (m_nodes.size() >= std::numeric_limits<quint32>::max() - 1)
            return failMemory();
        m_nodes.push_back(node);
        m_open.push_back(static_cast<quint32>(m_nodes.size() - 1));
    }
    ++m_depth;
}

void Builder::closeNode()
{
    const quint32 index = m_open.back();
    Node& node = m_nodes[index];
    node.endPiece = static_cast<quint32>(m_pieces.size());
    node.subtreeEnd = static_cast<quint32>(m_nodes.size());
    const bool hasText = node.hasText;
    m_open.pop_back();
    if (!m_open.empty()) {
        Node& parent = m_nodes[m_open.back()];
        parent.lastChild = index;
        parent.hasText = parent.hasText || hasText;
    }
}

void Builder::endElement()
{
    if (inArticle())
        closeText();
    --m_depth;
    if (m_depth == 1)
        finishArticle();
    else if (m_depth >= 2)
        closeNode();
}

void Builder::characters(const char* text, int length)
{
    if (!inArticle())
        return;
    if (m_bytes.size() + static_cast<size_t>(length) >= std::numeric_limits<quint32>::max())
        return failMemory();
    if (!m_textOpen) {
        Piece piece;
        piece.start = static_cast<quint32>(m_bytes.size());
        piece.cdata = m_cdata;
        m_pieces.push_back(piece);
        m_textOpen = true;
    }
    Piece& piece = m_pieces.back();
    if (piece.blank) {
        for (int i = 0; i < length && piece.blank; ++i)
            piece.blank = isXmlSpace(text[i]);
    }
    m_bytes.append(text, static_cast<size_t>(length));
}

void Builder::otherNode()
{
    if (!inArticle())
        return;
    closeText();
    childStarts(Kind::Other);
}

void Builder::startCdata()
{
    if (!inArticle())
        return;
    closeText();
    m_cdata = true;
    // An empty section is a node too.
    characters("", 0);
}

void Builder::endCdata()
{
    if (!inArticle())
        return;
    closeText();
    m_cdata = false;
}

void Builder::skippedEntity(const char* name)
{
    // An entity declared outside the file, which is never read: its reference stays as written.
    const std::string reference = std::string("&") + name + ";";
    characters(reference.data(), static_cast<int>(reference.size()));
}

void Builder::finishArticle()
{
    closeText();
    while (!m_open.empty())
        closeNode();

    // The article's text, and where each text piece starts in it.
    size_t bytes = m_bytes.size();
    QString text(static_cast<qsizetype>(bytes), Qt::Uninitialized); // no more UTF-16 units than bytes
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    QChar* const begin = text.data();
    QChar* out = begin;
    m_offsets.resize(m_pieces.size() + 1);
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        m_offsets[i] = static_cast<quint32>(out - begin);
        const Piece& piece = m_pieces[i];
        out = decoder.appendToBuffer(
            out, QByteArrayView(m_bytes.data() + piece.start, static_cast<qsizetype>(piece.end - piece.start)));
    }
    m_offsets[m_pieces.size()] = static_cast<quint32>(out - begin);
    text.resize(out - begin);
    if (text.capacity() - text.size() > text.size() / 8)
        text.squeeze();

    for (size_t n = 1; n < m_nodes.size(); ++n) {
        const Node& node = m_nodes[n];
        m_content.elements.setText(node.element, m_offsets[node.firstPiece], m_offsets[node.endPiece], text);
    }
    m_content.elements.endArticle(m_nodes[0].firstChild != Kind::None);

    ArticleEntry entry;
    entry.title = title(text, m_offsets);
    entry.number = static_cast<int>(m_content.articles.size());
    entry.text = std::move(text);
    m_content.articles.push_back(std::move(entry));
}

QString Builder::title(const QString& text, const std::vector<quint32>& offsets) const
{
    // Down the chain of first children to the first leaf with text, then forward over siblings
    // without text. Each step moves down or forward in document order, so the walk is linear.
    const auto firstChildElement = [this](quint32 e) {
        return m_nodes[e].firstChild == Kind::Element ? e + 1 : ElementIndex::none;
    };
    const auto nextSiblingElement = [this](quint32 e) {
        return m_nodes[e].nextSibling == Kind::Element ? m_nodes[e].subtreeEnd : ElementIndex::none;
    };
    quint32 e = 0;
    while (e != ElementIndex::none && firstChildElement(e) != ElementIndex::none && m_nodes[e].hasText) {
        while (firstChildElement(e) != ElementIndex::none)
            e = firstChildElement(e);
        while (e != ElementIndex::none && !m_nodes[e].hasText)
            e = nextSiblingElement(e);
    }
    if (e == ElementIndex::none)
        return {};
    // Its text, whitespace-only text nodes left out.
    QString title;
    for (quint32 p = m_nodes[e].firstPiece; p < m_nodes[e].endPiece; ++p) {
        if (m_pieces[p].counts())
            title += QStringView(text).mid(offsets[p], offsets[p + 1] - offsets[p]);
    }
    return title;
}

template <typename Method, typename... Args> void dispatch(void* data, Method method, Args... args)
{
    (static_cast<Builder*>(data)->*method)(args...);
}

} // namespace

std::optional<CorpusContent> build(QByteArrayView utf8)
{
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreate("UTF-8"),
                                                                              &XML_ParserFree);
    if (!parser)
        return std::nullopt;
    XML_Parser p = parser.get();
    Builder builder(p);
    XML_SetUserData(p, &builder);
    XML_SetElementHandler(
        p,
        [](void* data, const XML_Char* name, const XML_Char** attributes) {
            dispatch(data, &Builder::startElement, name, attributes);
        },
        [](void* data, const XML_Char*) { dispatch(data, &Builder::endElement); });
    XML_SetCharacterDataHandler(
        p, [](void* data, const XML_Char* text, int length) { dispatch(data, &Builder::characters, text, length); });
    XML_SetCommentHandler(p, [](void* data, const XML_Char*) { dispatch(data, &Builder::otherNode); });
    XML_SetProcessingInstructionHandler(
        p, [](void* data, const XML_Char*, const XML_Char*) { dispatch(data, &Builder::otherNode); });
    XML_SetCdataSectionHandler(
        p, [](void* data) { dispatch(data, &Builder::startCdata); },
        [](void* data) { dispatch(data, &Builder::endCdata); });
    XML_SetSkippedEntityHandler(p, [](void* data, const XML_Char* name, int isParameterEntity) {
        if (!isParameterEntity)
            dispatch(data, &Builder::skippedEntity, name);
    });
    // No external entity is ever fetched: without a handler for them, the parser leaves them out.
    XML_SetParamEntityParsing(p, XML_PARAM_ENTITY_PARSING_NEVER);

    // In slices, as the parser takes an int length.
    constexpr qsizetype slice = 64 << 20;
    qsizetype at = 0;
    do {
        const qsizetype length = std::min(slice, utf8.size() - at);
        const bool last = at + length >= utf8.size();
        if (XML_Parse(p, utf8.data() + at, static_cast<int>(length), last) != XML_STATUS_OK)
            return std::nullopt;
        at += length;
    } while (at < utf8.size());
    return builder.take();
}

} // namespace corpusbuilder
