#pragma once

#include <QString>
#include <pugixml.hpp>

// Tree helpers. The parser keeps whitespace-only text so that an article's text reads as written;
// the structural helpers look through it, as if it were not there.
namespace xmlnodes {

bool isBlankText(pugi::xml_node node);

// First child (next sibling) that is not whitespace-only text, when it is an element; else null.
pugi::xml_node firstChildElement(pugi::xml_node node);
pugi::xml_node nextSiblingElement(pugi::xml_node node);

// True when the element holds text that is not whitespace-only text nodes.
bool hasStructuralText(pugi::xml_node node);
// Text of the descendants, whitespace-only text nodes left out.
QString structuralText(pugi::xml_node node);
// Text of the descendants exactly as the file has it, whitespace between elements included.
QString fullText(pugi::xml_node node);

QString name(pugi::xml_node node);

} // namespace xmlnodes
