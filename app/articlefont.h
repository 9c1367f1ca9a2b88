#pragma once

#include <QString>

class GUI_Base;
class QFont;

// The font of the three article views (Corpus, Recherche Simple, Recherche Croisée).
namespace articlefont {

// Family, size, weight and style.
void apply(GUI_Base& form, const QFont& font);
// The family alone, as the settings file keeps it: size and style stay. An empty family, as
// when none was ever chosen, leaves the views as they are.
void applyFamily(GUI_Base& form, const QString& family);
// The font `steps` points larger (smaller when negative), never below one; pixels for a font sized
// in pixels. The font itself for 0.
QFont zoomed(const QFont& font, int steps);

} // namespace articlefont
