#include "plans/chart_canvas.h"

#include <QGlyphRun>
#include <QImage>
#include <QPolygon>
#include <QTextLayout>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <unordered_map>

namespace {

int sign(int v) {
    return (v > 0) - (v < 0);
}

bool is32Bit(QImage::Format format) {
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32 ||
           format == QImage::Format_ARGB32_Premultiplied;
}

QRgb* scanLine(uchar* bits, qsizetype bytesPerLine, int y) {
    return reinterpret_cast<QRgb*>(bits + y * bytesPerLine);
}

// Texts that QTextLayout places exactly as QPainter::drawText does at a point.
// Tabs, line breaks, format characters and right-to-left scripts are laid out
// by rules of their own there, so such texts are left to drawText.
bool layoutAlike(const QString& text) {
    for (char32_t c : text.toUcs4()) {
        switch (QChar::category(c)) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return false;
        default:
            break;
        }
        switch (QChar::direction(c)) {
        case QChar::DirR:
        case QChar::DirAL:
        case QChar::DirAN:
            return false;
        default:
            break;
        }
    }
    return true;
}

// The glyph runs in drawing order, placed from the baseline at x 0.
std::optional<QList<QGlyphRun>> baselineRuns(const QString& text, const QFont& font,
                                             const QPaintDevice* device, Qt::LayoutDirection direction) {
    if (!layoutAlike(text))
        return std::nullopt;
    QTextLayout layout(text, font, device);
    QTextOption option(Qt::AlignLeft);
    option.setWrapMode(QTextOption::NoWrap);
    option.setTextDirection(direction);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setPosition(QPointF(0, 0));
    layout.endLayout();
    // The layout's own glyphRuns() merges the runs of one font, which changes
    // the order in which overlapping glyphs of different fonts are blended.
    QList<QGlyphRun> runs = line.glyphRuns();
    for (QGlyphRun& run : runs) {
        QList<QPointF> positions = run.positions();
        for (QPointF& p : positions)
            p.ry() -= line.ascent();
        run.setPositions(positions);
    }
    return runs;
}

void drawRuns(QPainter& painter, QPoint origin, const QList<QGlyphRun>& runs) {
    for (const QGlyphRun& run : runs)
        painter.drawGlyphRun(origin, run);
}

} // namespace

// The texts of the chart, each laid out once per font: a plan repeats a few
// dozen crop names on a thousand entries, and shaping every one of them again
// was the dearest part of the chart.
class ChartTexts {
public:
    explicit ChartTexts(QPainter& painter) : m_painter(painter) {}
    void clear() { m_runs.clear(); }
    void draw(QPoint origin, const QString& text, const QColor& colour);

private:
    QPainter& m_painter;
    // None for the texts left to drawText.
    std::unordered_map<QString, std::optional<QList<QGlyphRun>>> m_runs;
};

void ChartTexts::draw(QPoint origin, const QString& text, const QColor& colour) {
    auto found = m_runs.find(text);
    if (found == m_runs.end())
        found = m_runs
                    .emplace(text, baselineRuns(text, m_painter.font(), m_painter.device(),
                                                m_painter.layoutDirection()))
                    .first;
    m_painter.setPen(colour);
    if (found->second)
        drawRuns(m_painter, origin, *found->second);
    else
        m_painter.drawText(origin, text);
}

ChartCanvas::ChartCanvas(QImage& image)
    : m_painter(&image), m_bits(image.bits()), m_bytesPerLine(image.bytesPerLine()), m_width(image.width()),
      m_height(image.height()), m_32Bit(is32Bit(image.format())), m_scale(image.devicePixelRatio()),
      m_texts(std::make_unique<ChartTexts>(m_painter)) {
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setBackgroundMode(Qt::TransparentMode);
    setPenColor(m_pen);
    m_ascent = m_painter.fontMetrics().ascent();
}

ChartCanvas::~ChartCanvas() = default;

void ChartCanvas::setPenColor(const QColor& colour) {
    m_pen = colour;
    m_penDirect = writesDirectly(colour);
    m_penPixel = colour.rgba();
}

void ChartCanvas::setFont(const QFont& font) {
    m_painter.setFont(font);
    m_ascent = m_painter.fontMetrics().ascent();
    m_texts->clear();
}

// An opaque colour lands on a 32-bit image as its own ARGB value, as the painter's fill leaves it.
bool ChartCanvas::writesDirectly(const QColor& colour) const {
    return m_32Bit && colour.spec() == QColor::Rgb && colour.alpha() == 255;
}

int ChartCanvas::device(int v) const {
    return m_scale == 1.0 ? v : int(std::floor(v * m_scale + 0.5));
}

// The image pixels a rectangle of chart pixels covers, edge to edge with its neighbours.
QRect ChartCanvas::deviceRect(const QRect& rect) const {
    if (m_scale == 1.0)
        return rect;
    return QRect(QPoint(device(rect.left()), device(rect.top())),
                 QPoint(device(rect.right() + 1) - 1, device(rect.bottom() + 1) - 1));
}

void ChartCanvas::fillDirectly(const QRect& rect, QRgb pixel) {
    const QRect clipped = rect & QRect(0, 0, m_width, m_height);
    for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
        QRgb* row = scanLine(m_bits, m_bytesPerLine, y);
        std::fill(row + clipped.left(), row + clipped.right() + 1, pixel);
    }
}

void ChartCanvas::plotPen(QPoint p) {
    if (!m_penDirect)
        m_painter.fillRect(QRect(p, QSize(1, 1)), m_pen);
    else if (m_scale != 1.0)
        fillDirectly(deviceRect(QRect(p, QSize(1, 1))), m_penPixel);
    else if (unsigned(p.x()) < unsigned(m_width) && unsigned(p.y()) < unsigned(m_height))
        scanLine(m_bits, m_bytesPerLine, p.y())[p.x()] = m_penPixel;
}

void ChartCanvas::fillRect(const QRect& rect, const QColor& colour) {
    if (writesDirectly(colour) && rect.isValid())
        fillDirectly(deviceRect(rect), colour.rgba());
    else
        m_painter.fillRect(rect, colour);
}

// Visits the pixels of the line from its first point up to, not including, the
// second, in order, by their step number along the major axis. The offset along
// the minor axis is the nearest whole one, an exact half staying on the side of
// the first point: (2 k minor + major - 1) / (2 major), kept as quotient and
// remainder from step to step.
template <class Plot> void ChartCanvas::walk(QPoint from, QPoint to, Plot plot) {
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const qint64 major = xMajor ? std::abs(dx) : std::abs(dy);
    const qint64 minor = xMajor ? std::abs(dy) : std::abs(dx);
    const QPoint majorStep = xMajor ? QPoint(sign(dx), 0) : QPoint(0, sign(dy));
    const QPoint minorStep = xMajor ? QPoint(0, sign(dy)) : QPoint(sign(dx), 0);
    QPoint p = from;
    qint64 remainder = major - 1;
    for (qint64 k = 0; k < major; ++k) {
        plot(k, p);
        p += majorStep;
        remainder += 2 * minor;
        if (remainder >= 2 * major) {
            remainder -= 2 * major;
            p += minorStep;
        }
    }
}

void ChartCanvas::line(QPoint from, QPoint to) {
    if (from.x() == to.x() || from.y() == to.y()) {
        // One rectangle instead of a pixel walk: the frame lines are long.
        if (from == to)
            return;
        const QPoint last = to - QPoint(sign(to.x() - from.x()), sign(to.y() - from.y()));
        fillRect(QRect(QPoint(std::min(from.x(), last.x()), std::min(from.y(), last.y())),
                       QPoint(std::max(from.x(), last.x()), std::max(from.y(), last.y()))),
                 m_pen);
        return;
    }
    if (m_scale != 1.0)
        smoothLine(from, to);
    else
        walk(from, to, [this](qint64, QPoint p) { plotPen(p); });
}

// A slanted stroke through the centres of the chart pixels the walk would
// light, one chart pixel wide: at a finer scale, pixel steps would only show
// as larger stairs.
void ChartCanvas::smoothLine(QPoint from, QPoint to) {
    const QPointF centre(0.5, 0.5);
    QPen pen(m_pen, 1.0);
    pen.setCapStyle(Qt::FlatCap);
    m_painter.save();
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setPen(pen);
    m_painter.drawLine(QPointF(from) + centre, QPointF(to) + centre);
    m_painter.restore();
}

void ChartCanvas::dottedLine(QPoint from, QPoint to) {
    walk(from, to, [this](qint64 k, QPoint p) {
        if (k % 2 == 0)
            plotPen(p);
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
    m_texts->draw(QPoint(topLeft.x(), topLeft.y() + m_ascent), text, m_text);
}

void ChartCanvas::wrappedText(const QRect& rect, const QString& text) {
    m_painter.save();
    m_painter.setClipRect(rect);
    m_painter.setPen(m_text);
    m_painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
    m_painter.restore();
}
