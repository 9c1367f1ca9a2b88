#pragma once

#include <QString>

// One article of the index: its title, its 0-based number and its whole text, as the file has it.
struct ArticleEntry
{
    QString title;
    int number = 0;
    QString text;
};
