#include "elementnamecollector.h"

bool ElementNameCollector::for_each(pugi::xml_node& node)
{
    if (node.type() != pugi::node_element)
        return true;
    const std::string_view key(node.name());
    auto it = m_interned.find(key);
    if (it == m_interned.end())
        it = m_interned.emplace(key, QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()))).first;
    m_names.append(it->second);
    return true;
}

QStringList ElementNameCollector::collect(const pugi::xml_document& document)
{
    ElementNameCollector collector;
    pugi::xml_node root = document; // traverse() is not const, the handle is
    root.traverse(collector);
    return collector.names();
}
