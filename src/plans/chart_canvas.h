#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPoint>
#include <initializer_list>

class QImage;

// The raster operations the plan chart is drawn with, keeping the pixel rules
// the chart was laid out for: a line covers its first point and stops just
// before the second, whatever its direction; a dotted line lights every other
// pixel starting with its first; texts have a transparent background.
// Qt's own aliased lines normalise their direction (a right-to-left line loses
// its first pixel instead of its last), so lines are rasterised here.
class ChartCanvas {
public:
    explicit ChartCanvas(QImage& image);

    void setPenColor(const QColor& colour) { m_pen = colour; }
    void setTextColor(const QColor& colour) { m_text = colour; }
    void setFont(const QFont& font) { m_painter.setFont(font); }

    void fillRect(const QRect& rect, const QColor& colour);
    void line(QPoint from, QPoint to);
    void dottedLine(QPoint from, QPoint to);
    void polyline(std::initializer_list<QPoint> points);
    void polygon(std::initializer_list<QPoint> points);
    void text(QPoint topLeft, const QString& text);
    void wrappedText(const QRect& rect, const QString& text);

private:
    template <class Plot> void walk(QPoint from, QPoint to, Plot plot);

    QPainter m_painter;
    QColor m_pen = Qt::black;
    QColor m_text = Qt::black;
};
