#include "plans/chart_canvas.h"

#include <QImage>
#include <QPolygon>
#include <algorithm>
#include <cstdlib>

namespace {

int sign(int v) {
    return (v > 0) - (v < 0);
}

// Nearest whole offset along the minor axis; an exact half stays on the side
// of the line's first point.
int minorOffset(qint64 k, qint64 minor, qint64 major) {
    return int((2 * k * minor + major - 1) / (2 * major));
}

} // namespace

ChartCanvas::ChartCanvas(QImage& image) : m_painter(&image) {
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setBackgroundMode(Qt::TransparentMode);
}

void ChartCanvas::fillRect(const QRect& rect, const QColor& colour) {
    m_painter.fillRect(rect, colour);
}

// Visits the pixels of the line from its first point up to, not including, the
// second, in order, by their step number along the major axis.
template <class Plot> void ChartCanvas::walk(QPoint from, QPoint to, Plot plot) {
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const int major = xMajor ? std::abs(dx) : std::abs(dy);
    const int minor = xMajor ? std::abs(dy) : std::abs(dx);
    for (int k = 0; k < major; ++k) {
        const int off = minorOffset(k, minor, major);
        const QPoint p = xMajor ? QPoint(from.x() + sign(dx) * k, from.y() + sign(dy) * off)
                                : QPoint(from.x() + sign(dx) * off, from.y() + sign(dy) * k);
        plot(k, p);
    }
}

void ChartCanvas::line(QPoint from, QPoint to) {
    if (from.x() == to.x() || from.y() == to.y()) {
        // One rectangle instead of a pixel walk: the frame lines are long.
        if (from == to)
            return;
        const QPoint last = to - QPoint(sign(to.x() - from.x()), sign(to.y() - from.y()));
        m_painter.fillRect(QRect(QPoint(std::min(from.x(), last.x()), std::min(from.y(), last.y())),
                                 QPoint(std::max(from.x(), last.x()), std::max(from.y(), last.y()))),
                           m_pen);
        return;
    }
    walk(from, to, [this](int, QPoint p) { m_painter.fillRect(QRect(p, QSize(1, 1)), m_pen); });
}

void ChartCanvas::dottedLine(QPoint from, QPoint to) {
    walk(from, to, [this](int k, QPoint p) {
        if (k % 2 == 0)
            m_painter.fillRect(QRect(p, QSize(1, 1)), m_pen);
    });
}

void ChartCanvas::polyline(std::initializer_list<QPoint> points) {
    const QPoint* previous = nullptr;
    for (const QPoint& point : points) {
        if (previous)
            line(*previous, point);
        previous = &point;
    }
}

void ChartCanvas::polygon(std::initializer_list<QPoint> points) {
    m_painter.save();
    m_painter.setPen(QPen(m_pen, 0));
    m_painter.setBrush(m_pen);
    m_painter.drawPolygon(QPolygon(QList<QPoint>(points)));
    m_painter.restore();
}

void ChartCanvas::text(QPoint topLeft, const QString& text) {
    m_painter.setPen(m_text);
    m_painter.drawText(QPoint(topLeft.x(), topLeft.y() + m_painter.fontMetrics().ascent()), text);
}

void ChartCanvas::wrappedText(const QRect& rect, const QString& text) {
    m_painter.save();
    m_painter.setClipRect(rect);
    m_painter.setPen(m_text);
    m_painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    m_painter.restore();
}
