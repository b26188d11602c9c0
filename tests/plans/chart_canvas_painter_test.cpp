#include "plans/chart_canvas.h"
#include "plans/plan_chart.h"

#include <QImage>
#include <QPainter>
#include <QTest>
#include <cstdlib>

// The canvas writes line pixels itself and lays each text out once. What it
// leaves must be, pixel for pixel, what a QPainter leaves drawing every pixel,
// rectangle and text by itself.
namespace {

int sign(int v) {
    return (v > 0) - (v < 0);
}

// The chart's pixel rules drawn through the painter alone, one call per pixel.
class PainterCanvas {
public:
    explicit PainterCanvas(QImage& image) : m_painter(&image) {
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_painter.setBackgroundMode(Qt::TransparentMode);
    }

    void setPenColor(const QColor& colour) { m_pen = colour; }
    void setTextColor(const QColor& colour) { m_text = colour; }
    void setFont(const QFont& font) { m_painter.setFont(font); }
    void fillRect(const QRect& rect, const QColor& colour) { m_painter.fillRect(rect, colour); }
    void line(QPoint from, QPoint to) { walk(from, to, 1); }
    void dottedLine(QPoint from, QPoint to) { walk(from, to, 2); }
    void text(QPoint topLeft, const QString& text) {
        m_painter.setPen(m_text);
        m_painter.drawText(QPoint(topLeft.x(), topLeft.y() + m_painter.fontMetrics().ascent()), text);
    }

private:
    // Every `every`th pixel from the first point up to the second, the minor
    // axis rounded to the nearest pixel, an exact half towards the first point.
    void walk(QPoint from, QPoint to, int every) {
        const int dx = to.x() - from.x();
        const int dy = to.y() - from.y();
        const bool xMajor = std::abs(dx) >= std::abs(dy);
        const qint64 major = xMajor ? std::abs(dx) : std::abs(dy);
        const qint64 minor = xMajor ? std::abs(dy) : std::abs(dx);
        for (qint64 k = 0; k < major; k += every) {
            const int off = int((2 * k * minor + major - 1) / (2 * major));
            const QPoint p = xMajor ? QPoint(from.x() + sign(dx) * int(k), from.y() + sign(dy) * off)
                                    : QPoint(from.x() + sign(dx) * off, from.y() + sign(dy) * int(k));
            m_painter.fillRect(QRect(p, QSize(1, 1)), m_pen);
        }
    }

    QPainter m_painter;
    QColor m_pen = Qt::black;
    QColor m_text = Qt::black;
};

const QList<QColor>& colours() {
    static const QList<QColor> list = {QColor(0, 0, 0),         QColor(255, 0, 0),
                                       QColor(12, 200, 99),     QColor(255, 255, 255),
                                       QColor(10, 20, 30, 128), QColor::fromHsv(200, 100, 50)};
    return list;
}

// Lines from one centre in every direction, some leaving the image.
template <class Canvas> void drawLines(Canvas& canvas) {
    canvas.fillRect(QRect(0, 0, 90, 60), QColor(250, 240, 230));
    int c = 0;
    for (int dx = -40; dx <= 40; dx += 7)
        for (int dy = -30; dy <= 30; dy += 6) {
            canvas.setPenColor(colours()[c++ % colours().size()]);
            if (c % 2)
                canvas.line({45, 30}, {45 + dx, 30 + dy});
            else
                canvas.dottedLine({45, 30}, {45 + dx * 2, 30 + dy * 2});
        }
    canvas.line({-1000, 5}, {1000, 5});
    canvas.dottedLine({3, -1000}, {3, 1000});
}

const QStringList& texts() {
    static const QStringList list = {QStringLiteral("トマト"),
                                     QStringLiteral("ホウレンソウ"),
                                     QStringLiteral("Tomato & Basil"),
                                     QStringLiteral("AV To fi"),
                                     QStringLiteral("ナス（長）"),
                                     QStringLiteral("青葉録　https://x"),
                                     QStringLiteral("e\u0301te"),
                                     QStringLiteral("　"),
                                     QStringLiteral(""),
                                     QStringLiteral("a\tb"),
                                     QStringLiteral("line\nbreak"),
                                     QStringLiteral("שלום abc"),
                                     QStringLiteral("①②～"),
                                     QStringLiteral("9")};
    return list;
}

// Texts over a background, dotted lines, arrows and one another, repeated in
// several colours and places, some running off the image.
template <class Canvas> void drawTexts(Canvas& canvas) {
    canvas.setFont(chart::font());
    canvas.fillRect(QRect(0, 0, 160, 120), QColor(255, 255, 240));
    canvas.setPenColor(QColor(0, 0, 255));
    for (int x = 5; x < 160; x += 35)
        canvas.dottedLine({x, 0}, {x, 120});
    canvas.setPenColor(QColor(255, 0, 0));
    canvas.line({0, 30}, {160, 30});
    for (int i = 0; i < 90; ++i) {
        canvas.setTextColor(colours()[(i / 7) % colours().size()]);
        canvas.text(QPoint((i * 37) % 190 - 30, (i * 23) % 140 - 15), texts()[(i * 5) % texts().size()]);
        if (i == 45)
            canvas.setFont(QFont(chart::font().family(), 17, QFont::Bold));
    }
}

template <void (*Scene)(ChartCanvas&), void (*Reference)(PainterCanvas&)>
void compareScene(QImage::Format format) {
    QImage ours(160, 120, format);
    QImage theirs(160, 120, format);
    ours.fill(Qt::gray);
    theirs.fill(Qt::gray);
    {
        ChartCanvas canvas(ours);
        Scene(canvas);
    }
    {
        PainterCanvas canvas(theirs);
        Reference(canvas);
    }
    for (int y = 0; y < ours.height(); ++y)
        for (int x = 0; x < ours.width(); ++x)
            if (ours.pixel(x, y) != theirs.pixel(x, y))
                QFAIL(qPrintable(QStringLiteral("(%1, %2): %3 instead of %4")
                                     .arg(x)
                                     .arg(y)
                                     .arg(ours.pixel(x, y), 8, 16)
                                     .arg(theirs.pixel(x, y), 8, 16)));
    QVERIFY(ours == theirs);
}

// The chart's own format, the other 32-bit ones, and one the canvas leaves to the painter.
void formats() {
    QTest::addColumn<QImage::Format>("format");
    QTest::newRow("RGB32") << QImage::Format_RGB32;
    QTest::newRow("ARGB32") << QImage::Format_ARGB32;
    QTest::newRow("ARGB32 premultiplied") << QImage::Format_ARGB32_Premultiplied;
    QTest::newRow("RGB888") << QImage::Format_RGB888;
}

} // namespace

class ChartCanvasPainterTest : public QObject {
    Q_OBJECT

private slots:
    void linesAreThePaintersPixels_data() { formats(); }
    void linesAreThePaintersPixels() {
        QFETCH(QImage::Format, format);
        compareScene<drawLines<ChartCanvas>, drawLines<PainterCanvas>>(format);
    }

    // Repeated texts are drawn from their first layout: they must blend as drawText's do.
    void textsAreThePaintersPixels_data() { formats(); }
    void textsAreThePaintersPixels() {
        QFETCH(QImage::Format, format);
        compareScene<drawTexts<ChartCanvas>, drawTexts<PainterCanvas>>(format);
    }
};

QTEST_MAIN(ChartCanvasPainterTest)
#include "chart_canvas_painter_test.moc"
