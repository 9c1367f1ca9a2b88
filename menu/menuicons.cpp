#include "menu/menuicons.h"

namespace menuicons {

namespace {

// clang-format off
// Colours are written with 16 bits per channel.
const char* const folderXpm[] = {
    "16 16 3 1",
    "  c None",
    "# c #000000000000",
    "o c #FFFFFFFF0000",
    "                ",
    "                ",
    "        ######  ",
    "        #oooo#  ",
    " ############## ",
    " #oooooooooooo# ",
    " #oooooooooooo# ",
    " #oooooooooooo# ",
    " #oooooooooooo# ",
    " #oooooooooooo# ",
    " #oooooooooooo# ",
    " #oooooooooooo# ",
    " #oooooooooooo# ",
    " #oooooooooooo# ",
    " ############## ",
    "                ",
};

const char* const disketteXpm[] = {
    "16 16 3 1",
    "  c None",
    "# c #000000000000",
    "w c #FFFFFFFFFFFF",
    "                ",
    "                ",
    "   #########    ",
    "  ###########   ",
    "  ######## ##   ",
    "  ###########   ",
    "  ###########   ",
    "  ###########   ",
    "  ###########   ",
    "  ###wwwww###   ",
    "  ###wwwww###   ",
    "  ###wwwww###   ",
    "  ###wwwww###   ",
    "   #########    ",
    "                ",
    "                ",
};

// clang-format on

} // namespace

QPixmap folder()
{
    return QPixmap(folderXpm);
}

QPixmap diskette()
{
    return QPixmap(disketteXpm);
}

} // namespace menuicons
