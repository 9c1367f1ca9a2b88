#pragma once

#include <QStringList>
#include <pugixml.hpp>
#include <string_view>
#include <unordered_map>

// Collects the qualified name of every element of a tree, the document element included,
// in document order with repetitions. Equal names share one string.
class ElementNameCollector : public pugi::xml_tree_walker
{
public:
    bool for_each(pugi::xml_node& node) override;
    QStringList names() const { return m_names; }

    static QStringList collect(const pugi::xml_document& document);

private:
    QStringList m_names;
    std::unordered_map<std::string_view, QString> m_interned;
};
