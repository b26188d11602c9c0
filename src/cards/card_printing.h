#pragma once

#include <QImage>

class Platform;

namespace cards {

// Prints the card image on the default printer without a dialog, at the top-left
// of the page and at its screen size in inches (96 pixels to the inch). No
// printer, or one that will not print, goes to the general error box.
void printCardImage(const QImage& image, Platform& platform);

} // namespace cards
