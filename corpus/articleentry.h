#pragma once

#include <QString>
#include <pugixml.hpp>

// One article of the index: its title, its element and its 0-based number. `text` is the
// article's whole text, computed once per load so that searches and display never walk the tree.
struct ArticleEntry
{
    QString title;
    pugi::xml_node node;
    int number = 0;
    QString text;
};
