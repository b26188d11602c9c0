#include "cards/card_printing.h"

#include "widgets/platform.h"

#include <QPainter>
#include <QPrinter>

namespace cards {

void printCardImage(const QImage& image, Platform& platform) {
    const std::unique_ptr<QPrinter> printer = platform.defaultPrinter();
    if (!printer) {
        platform.error(QStringLiteral("通常使うプリンターがありません。"));
        return;
    }
    QPainter painter;
    if (!painter.begin(printer.get())) {
        platform.error(QStringLiteral("印刷を開始できませんでした。"));
        return;
    }
    // Lines and small type: the picture must reach the page exactly as drawn.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    const double scaleX = printer->logicalDpiX() / 96.0;
    const double scaleY = printer->logicalDpiY() / 96.0;
    painter.drawImage(QRectF(0, 0, image.width() * scaleX, image.height() * scaleY), image);
    if (!painter.end())
        platform.error(QStringLiteral("印刷できませんでした。"));
}

} // namespace cards
