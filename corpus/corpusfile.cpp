#include "corpusfile.h"

#include "elementnamecollector.h"
#include "xmldecoder.h"
#include "xmlnodes.h"

#include <QFile>
#include <QFileInfo>

namespace corpusfile {
namespace {

// pugixml takes a well-formed fragment too; a corpus is one document element and nothing
// but whitespace beside it.
bool isSingleDocument(const pugi::xml_document& document)
{
    int elements = 0;
    for (pugi::xml_node node = document.first_child(); node; node = node.next_sibling()) {
        if (node.type() == pugi::node_element)
            ++elements;
        else if ((node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) && !xmlnodes::isBlankText(node))
            return false;
    }
    return elements == 1;
}

} // namespace

std::shared_ptr<XmlTree> parse(QByteArray bytes)
{
    std::optional<QByteArray> utf8 = xmldecoder::toUtf8(std::move(bytes));
    if (!utf8)
        return nullptr;
    auto tree = std::make_shared<XmlTree>();
    tree->buffer = std::move(*utf8);
    // Whitespace-only text is kept so that an article's text reads as written. Comments and
    // processing instructions stay in the tree, where the title rule sees them as non-elements.
    // Parsing as a fragment keeps stray top-level text, which isSingleDocument() then refuses.
    // Entities beyond the predefined ones are never expanded, nor anything outside the file read.
    const unsigned options =
        pugi::parse_default | pugi::parse_ws_pcdata | pugi::parse_comments | pugi::parse_pi | pugi::parse_fragment;
    const pugi::xml_parse_result parsed = tree->document.load_buffer_inplace(
        tree->buffer.data(), static_cast<size_t>(tree->buffer.size()), options, pugi::encoding_utf8);
    if (!parsed || !isSingleDocument(tree->document))
        return nullptr;
    return tree;
}

Result read(const QString& path)
{
    Result result;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists()) {
        result.status = Status::Missing;
        return result;
    }
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        result.status = Status::Unreadable;
        return result;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.status = Status::Unreadable;
        return result;
    }
    file.close();
    std::shared_ptr<XmlTree> tree = parse(std::move(bytes));
    if (!tree) {
        result.status = Status::Malformed;
        return result;
    }
    result.elementNames = ElementNameCollector::collect(tree->document);
    result.tree = std::move(tree);
    result.status = Status::Ok;
    return result;
}

} // namespace corpusfile
