#include "report/mm_canvas.h"

#include <QPaintDevice>

namespace report {

MmCanvas::MmCanvas(QPainter& painter, const QPointF& origin)
    : m_painter(painter), m_origin(origin), m_dotsPerMm(painter.device()->logicalDpiX() / 25.4) {}

QPointF MmCanvas::toDevice(const QPointF& mm) const {
    const QPointF at = m_origin + mm;
    return {at.x() * m_dotsPerMm, at.y() * m_painter.device()->logicalDpiY() / 25.4};
}

QRectF MmCanvas::toDevice(const QRectF& mm) const {
    return {toDevice(mm.topLeft()), toDevice(mm.bottomRight())};
}

void MmCanvas::text(const QRectF& cell, const QString& text, const QFont& font, Qt::Alignment alignment) {
    if (text.isEmpty())
        return;
    const QRectF box = toDevice(cell);
    m_painter.save();
    m_painter.setClipRect(box);
    m_painter.setFont(font);
    m_painter.setPen(Qt::black);
    m_painter.drawText(box, int(alignment | Qt::AlignTop) | Qt::TextSingleLine, text);
    m_painter.restore();
}

void MmCanvas::usePen() {
    QPen pen(Qt::black);
    pen.setWidthF(kLineWidthMm * m_dotsPerMm);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    m_painter.setPen(pen);
    m_painter.setBrush(Qt::NoBrush);
}

void MmCanvas::line(const QPointF& from, const QPointF& to) {
    usePen();
    m_painter.drawLine(toDevice(from), toDevice(to));
}

void MmCanvas::frame(const QRectF& rect) {
    usePen();
    m_painter.drawRect(toDevice(rect));
}

} // namespace report
