#include "forms/backgroundpalette.h"

#include <QColor>

QPalette backgroundPalette(const QString& colourName)
{
    const QColor colour = QColor::isValidColorName(colourName) ? QColor::fromString(colourName) : QColor(Qt::lightGray);
    return QPalette(colour);
}
