#pragma once

#include "corpus/blockedges.h"

#include <QString>

// One article of the index: its title, its 0-based number, its whole text, as the file has it, and
// where in that text one block element meets another, which parts words as a separator does.
struct ArticleEntry
{
    QString title;
    int number = 0;
    QString text;
    BlockEdges edges = {};
};
