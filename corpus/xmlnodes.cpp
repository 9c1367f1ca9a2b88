#include "xmlnodes.h"

#include <string>

namespace xmlnodes {
namespace {

bool isXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isText(pugi::xml_node node)
{
    return node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata;
}

pugi::xml_node skipBlank(pugi::xml_node node)
{
    while (node && isBlankText(node))
        node = node.next_sibling();
    return node;
}

// Visits the text nodes below `root` in document order, without recursion.
template <typename Visit> void forEachText(pugi::xml_node root, Visit visit)
{
    pugi::xml_node node = root.first_child();
    while (node) {
        if (isText(node)) {
            if (!visit(node))
                return;
        } else if (node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && node != root && !node.next_sibling())
            node = node.parent();
        if (!node || node == root)
            return;
        node = node.next_sibling();
    }
}

} // namespace

bool isBlankText(pugi::xml_node node)
{
    if (node.type() != pugi::node_pcdata)
        return false;
    for (const char* p = node.value(); *p; ++p) {
        if (!isXmlSpace(*p))
            return false;
    }
    return true;
}

pugi::xml_node firstChildElement(pugi::xml_node node)
{
    const pugi::xml_node child = skipBlank(node.first_child());
    return child.type() == pugi::node_element ? child : pugi::xml_node();
}

pugi::xml_node nextSiblingElement(pugi::xml_node node)
{
    const pugi::xml_node next = skipBlank(node.next_sibling());
    return next.type() == pugi::node_element ? next : pugi::xml_node();
}

bool hasStructuralText(pugi::xml_node node)
{
    if (isText(node))
        return *node.value() && !isBlankText(node);
    bool found = false;
    forEachText(node, [&found](pugi::xml_node text) {
        found = *text.value() && !isBlankText(text);
        return !found;
    });
    return found;
}

QString structuralText(pugi::xml_node node)
{
    if (isText(node))
        return isBlankText(node) ? QString() : QString::fromUtf8(node.value());
    std::string text;
    forEachText(node, [&text](pugi::xml_node t) {
        if (!isBlankText(t))
            text += t.value();
        return true;
    });
    return QString::fromStdString(text);
}

QString fullText(pugi::xml_node node)
{
    if (isText(node))
        return QString::fromUtf8(node.value());
    std::string text;
    forEachText(node, [&text](pugi::xml_node t) {
        text += t.value();
        return true;
    });
    return QString::fromStdString(text);
}

QString name(pugi::xml_node node)
{
    return QString::fromUtf8(node.name());
}

} // namespace xmlnodes
