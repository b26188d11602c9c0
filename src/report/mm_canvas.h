#pragma once

#include <QFont>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>

namespace report {

// A painter that takes millimetres from a fixed origin, so bands are laid out
// the same on a printer, a PDF or an image of any resolution. Fonts keep their
// point size on the device.
class MmCanvas {
public:
    // origin: where 0 mm, 0 mm lies, in millimetres from the device's origin.
    MmCanvas(QPainter& painter, const QPointF& origin);

    double dotsPerMm() const { return m_dotsPerMm; }
    QPointF toDevice(const QPointF& mm) const;
    QRectF toDevice(const QRectF& mm) const;

    // One line of text from the top of the cell, cut at the cell's edges.
    void text(const QRectF& cell, const QString& text, const QFont& font, Qt::Alignment alignment);
    void line(const QPointF& from, const QPointF& to);
    void frame(const QRectF& rect);

private:
    void usePen();

    QPainter& m_painter;
    QPointF m_origin;
    double m_dotsPerMm;
};

// Lines are 2 pixels wide at the 96 dots per inch the layout was drawn at.
inline constexpr double kLineWidthMm = 2.0 * 25.4 / 96.0;

} // namespace report
