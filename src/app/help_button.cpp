#include "app/help_button.h"

#include "store/site.h"

#include <QPainter>
#include <QPixmap>

QIcon helpPicture() {
    QPixmap pixmap(36, 36);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x1a, 0x4f, 0xa8), 2));
    p.setBrush(QColor(0x2f, 0x7c, 0xe0));
    p.drawEllipse(QRectF(2, 2, 32, 32));
    QFont font;
    font.setBold(true);
    font.setPixelSize(24);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(2, 2, 32, 32), Qt::AlignCenter, QStringLiteral("?"));
    return QIcon(pixmap);
}

QString helpPageAddress() {
    // The site is a folder of files, so its root page is named explicitly.
    return siteAddress() + QStringLiteral("index.html?page_id=115");
}
