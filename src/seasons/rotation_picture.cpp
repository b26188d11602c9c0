#include "seasons/rotation_picture.h"

#include "plans/plan_chart.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace seasons {

namespace {

constexpr int kBedWidth = 110;
constexpr int kYearWidth = 160;
constexpr int kHeaderHeight = 24;
constexpr int kPadding = 4;
const QColor kConflict(200, 30, 30);
const QColor kGrid(150, 150, 150);

int lineCount(const RotationCell& cell) {
    return std::max<int>(1, int(cell.families.size()));
}

int rowHeight(const QList<RotationCell>& row, int lineHeight) {
    int lines = 1;
    for (const RotationCell& cell : row)
        lines = std::max(lines, lineCount(cell));
    return lines * lineHeight + 2 * kPadding;
}

void drawCell(QPainter& p, const QRect& box, const RotationCell& cell, int lineHeight) {
    const QFontMetrics metrics(p.font());
    for (qsizetype i = 0; i < cell.families.size(); ++i) {
        const QRect line(box.left() + 1, box.top() + kPadding + int(i) * lineHeight, box.width() - 2,
                         lineHeight);
        p.fillRect(line, FamilyColour(cell.families[i]));
        const QString family = cell.families[i].isEmpty() ? QStringLiteral("科目なし") : cell.families[i];
        const QString text = (cell.conflict && i == 0 ? QStringLiteral("※") : QString()) + family +
                             QStringLiteral("：") + cell.crops[i].join(QStringLiteral("、"));
        p.setPen(Qt::black);
        p.drawText(line.adjusted(kPadding, 0, -kPadding, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   metrics.elidedText(text, Qt::ElideRight, line.width() - 2 * kPadding));
    }
    if (cell.conflict) {
        p.setPen(QPen(kConflict, 2));
        p.drawRect(box.adjusted(2, 2, -2, -2));
    }
}

} // namespace

QColor FamilyColour(const QString& family) {
    if (family.isEmpty())
        return QColor(230, 230, 230);
    // A hash of the name, not the order of appearance: a family keeps its colour from year to year.
    const uint hue = qHash(family, 0x5eed) % 360;
    return QColor::fromHsv(int(hue), 60, 250);
}

QImage DrawRotationTable(const RotationTable& table, qreal pixelRatio) {
    const QFont font = chart::font();
    const int lineHeight = QFontMetrics(font).height() + 4;
    int height = kHeaderHeight;
    for (const QList<RotationCell>& row : table.cells)
        height += rowHeight(row, lineHeight);
    const int width = kBedWidth + kYearWidth * std::max<int>(1, int(table.years.size()));
    QImage image(QSize(width, height + 1) * pixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(kPadding, 0, kBedWidth, kHeaderHeight), Qt::AlignVCenter, QStringLiteral("畝＼年度"));
    for (qsizetype y = 0; y < table.years.size(); ++y)
        p.drawText(QRect(kBedWidth + int(y) * kYearWidth, 0, kYearWidth, kHeaderHeight), Qt::AlignCenter,
                   QStringLiteral("%1年度").arg(table.years[y]));
    int top = kHeaderHeight;
    for (qsizetype b = 0; b < table.beds.size(); ++b) {
        const int h = rowHeight(table.cells[b], lineHeight);
        p.setPen(Qt::black);
        p.drawText(QRect(kPadding, top, kBedWidth - 2 * kPadding, h), Qt::AlignVCenter | Qt::TextWordWrap,
                   table.beds[b]);
        for (qsizetype y = 0; y < table.years.size(); ++y)
            drawCell(p, QRect(kBedWidth + int(y) * kYearWidth, top, kYearWidth, h), table.cells[b][y],
                     lineHeight);
        p.setPen(kGrid);
        p.drawLine(0, top, width, top);
        top += h;
    }
    p.setPen(kGrid);
    p.drawLine(0, top, width, top);
    for (qsizetype y = 0; y <= table.years.size(); ++y)
        p.drawLine(kBedWidth + int(y) * kYearWidth, 0, kBedWidth + int(y) * kYearWidth, top);
    return image;
}

} // namespace seasons
