#pragma once

#include <QPalette>
#include <QString>

// The palette derived from the named colour, light grey when the name is no colour.
QPalette backgroundPalette(const QString& colourName);
