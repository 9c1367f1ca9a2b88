#pragma once

#include <QPixmap>

// The two 16 × 16 menu pictures.
namespace menuicons {

// A yellow folder with a black outline ("&Ouvrir").
QPixmap folder();
// A black diskette with a white label ("&Enregistrer la recherche").
QPixmap diskette();

} // namespace menuicons
