#include "seasons/rotation_picture.h"

#include "plans/plan_chart.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <sys/mman.h>

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

// One line of a cell: its family's colour behind the text. Drawn once per
// distinct line into a tile and copied after, since a large table repeats the
// same few families and crops in hundreds of cells and laying out Japanese
// text is what drawing costs.
class LineTiles {
public:
    LineTiles(const QFont& font, QSize size, qreal pixelRatio)
        : m_font(font), m_metrics(font), m_size(size), m_pixelRatio(pixelRatio) {}

    const QImage& tile(const QString& family, const QString& text) {
        const QString key = family + QChar(0) + text;
        auto found = m_tiles.constFind(key);
        if (found == m_tiles.cend())
            found = m_tiles.insert(key, draw(family, text));
        return *found;
    }

private:
    QImage draw(const QString& family, const QString& text) const {
        QImage tile(m_size * m_pixelRatio, QImage::Format_RGB32);
        tile.setDevicePixelRatio(m_pixelRatio);
        tile.fill(FamilyColour(family));
        QPainter p(&tile);
        p.setFont(m_font);
        p.setPen(Qt::black);
        const QRect line(QPoint(0, 0), m_size);
        p.drawText(line.adjusted(kPadding, 0, -kPadding, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   m_metrics.elidedText(text, Qt::ElideRight, line.width() - 2 * kPadding));
        return tile;
    }

    QFont m_font;
    QFontMetrics m_metrics;
    QSize m_size;
    qreal m_pixelRatio;
    QHash<QString, QImage> m_tiles;
};

void drawCell(QPainter& p, LineTiles& tiles, const QRect& box, const RotationCell& cell, int lineHeight) {
    for (qsizetype i = 0; i < cell.families.size(); ++i) {
        const QString family = cell.families[i].isEmpty() ? QStringLiteral("科目なし") : cell.families[i];
        const QString text = (cell.conflict && i == 0 ? QStringLiteral("※") : QString()) + family +
                             QStringLiteral("：") + cell.crops[i].join(QStringLiteral("、"));
        p.drawImage(QPoint(box.left() + 1, box.top() + kPadding + int(i) * lineHeight),
                    tiles.tile(cell.families[i], text));
    }
    if (cell.conflict) {
        p.setPen(QPen(kConflict, 2));
        p.drawRect(box.adjusted(2, 2, -2, -2));
    }
}

// A picture of many beds runs to tens of megabytes; backed by huge pages where
// the system offers them, it is touched in a few hundred faults, not tens of thousands.
QImage largeImage(const QSize& size) {
    constexpr size_t kHuge = size_t(2) << 20;
    const qsizetype line = qsizetype(size.width()) * 4;
    const size_t bytes = size_t(line) * size_t(size.height());
    if (bytes < kHuge)
        return QImage(size, QImage::Format_RGB32);
    const size_t rounded = (bytes + kHuge - 1) / kHuge * kHuge;
    void* data = std::aligned_alloc(kHuge, rounded);
    if (!data)
        return QImage(size, QImage::Format_RGB32);
#ifdef MADV_HUGEPAGE
    madvise(data, rounded, MADV_HUGEPAGE);
#endif
    return QImage(
        static_cast<uchar*>(data), size.width(), size.height(), line, QImage::Format_RGB32,
        [](void* p) { std::free(p); }, data);
}

// FNV-1a of the name's UTF-8 bytes: the same in every run, where Qt seeds its
// own string hash anew each time the program starts.
quint32 stableHash(const QString& text) {
    quint32 hash = 2166136261u;
    for (const char c : text.toUtf8())
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    return hash;
}

} // namespace

QColor FamilyColour(const QString& family) {
    if (family.isEmpty())
        return QColor(230, 230, 230);
    // A hash of the name, not the order of appearance: a family keeps its colour
    // from year to year, and in every run of the program.
    const int hue = int(stableHash(family) % 360);
    return QColor::fromHsv(hue, 60, 250);
}

QImage DrawRotationTable(const RotationTable& table, qreal pixelRatio) {
    const QFont font = chart::font();
    const int lineHeight = QFontMetrics(font).height() + 4;
    int height = kHeaderHeight;
    for (const QList<RotationCell>& row : table.cells)
        height += rowHeight(row, lineHeight);
    const int width = kBedWidth + kYearWidth * std::max<int>(1, int(table.years.size()));
    QImage image = largeImage(QSize(width, height + 1) * pixelRatio);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font);
    p.setPen(Qt::black);
    p.drawText(QRect(kPadding, 0, kBedWidth, kHeaderHeight), Qt::AlignVCenter, QStringLiteral("畝＼年度"));
    for (qsizetype y = 0; y < table.years.size(); ++y)
        p.drawText(QRect(kBedWidth + int(y) * kYearWidth, 0, kYearWidth, kHeaderHeight), Qt::AlignCenter,
                   QStringLiteral("%1年度").arg(table.years[y]));
    LineTiles tiles(font, QSize(kYearWidth - 2, lineHeight), pixelRatio);
    int top = kHeaderHeight;
    for (qsizetype b = 0; b < table.beds.size(); ++b) {
        const int h = rowHeight(table.cells[b], lineHeight);
        p.setPen(Qt::black);
        p.drawText(QRect(kPadding, top, kBedWidth - 2 * kPadding, h), Qt::AlignVCenter | Qt::TextWordWrap,
                   table.beds[b]);
        for (qsizetype y = 0; y < table.years.size(); ++y)
            drawCell(p, tiles, QRect(kBedWidth + int(y) * kYearWidth, top, kYearWidth, h), table.cells[b][y],
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
