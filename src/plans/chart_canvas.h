#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPoint>
#include <initializer_list>
#include <memory>

class ChartTexts;
class QImage;

// The raster operations the plan chart is drawn with, keeping the pixel rules
// the chart was laid out for: a line covers its first point and stops just
// before the second, whatever its direction; a dotted line lights every other
// pixel starting with its first; texts have a transparent background.
// Qt's own aliased lines normalise their direction (a right-to-left line loses
// its first pixel instead of its last), so lines are rasterised here.
// Coordinates are the chart's pixels. On an image with a device pixel ratio
// above 1 (a screen at 200 %) each of them covers that many image pixels, so
// the same layout comes out sharper rather than larger: texts are drawn at the
// finer size and slanted strokes smoothly.
class ChartCanvas {
public:
    explicit ChartCanvas(QImage& image);
    ~ChartCanvas();

    void setPenColor(const QColor& colour);
    void setTextColor(const QColor& colour) { m_text = colour; }
    void setFont(const QFont& font);

    void fillRect(const QRect& rect, const QColor& colour);
    void line(QPoint from, QPoint to);
    void dottedLine(QPoint from, QPoint to);
    void polyline(std::initializer_list<QPoint> points);
    void polygon(std::initializer_list<QPoint> points);
    void text(QPoint topLeft, const QString& text);
    void wrappedText(const QRect& rect, const QString& text);

private:
    template <class Plot> void walk(QPoint from, QPoint to, Plot plot);
    bool writesDirectly(const QColor& colour) const;
    void fillDirectly(const QRect& rect, QRgb pixel);
    void plotPen(QPoint p);
    void smoothLine(QPoint from, QPoint to);
    int device(int v) const;
    QRect deviceRect(const QRect& rect) const;

    QPainter m_painter;
    // The scan lines, written straight for opaque colours on 32-bit images: a
    // painter call per pixel cost far more than the pixel.
    uchar* m_bits = nullptr;
    qsizetype m_bytesPerLine = 0;
    int m_width = 0;
    int m_height = 0;
    bool m_32Bit = false;
    qreal m_scale = 1.0; // image pixels per chart pixel
    QColor m_pen = Qt::black;
    bool m_penDirect = false;
    QRgb m_penPixel = 0;
    QColor m_text = Qt::black;
    int m_ascent = 0;
    std::unique_ptr<ChartTexts> m_texts;
};
