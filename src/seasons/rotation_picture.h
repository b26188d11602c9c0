#pragma once

#include "seasons/rotation_table.h"

#include <QColor>
#include <QImage>

namespace seasons {

// The colour of a family's crops in the table: pale, told apart by hue, the
// same for one family in every picture. Crops without a family are grey.
QColor FamilyColour(const QString& family);

// The table as a picture for the screen, printing and saving: beds down the
// left, years across, each crop in its family's colour, a conflict framed in
// red with its ※. Drawn at the given pixel ratio, white behind.
QImage DrawRotationTable(const RotationTable& table, qreal pixelRatio = 1.0);

} // namespace seasons
