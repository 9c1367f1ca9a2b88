#pragma once

#include <QByteArray>
#include <pugixml.hpp>

// A parsed corpus. pugixml parses in place, so the node strings point into `buffer`:
// the two live and die together.
struct XmlTree
{
    QByteArray buffer;
    pugi::xml_document document;

    pugi::xml_node documentElement() const { return document.document_element(); }
};
