#include "plans/chart_canvas.h"
#include "plans/plan_chart.h"

#include <QImage>
#include <QTest>

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kInk = qRgb(0, 0, 0);

QImage blank() {
    QImage image(24, 24, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QList<QPoint> inked(const QImage& image) {
    QList<QPoint> points;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == kInk)
                points << QPoint(x, y);
    return points;
}

} // namespace

class ChartCanvasTest : public QObject {
    Q_OBJECT

private slots:
    void lineCoversFirstPointAndStopsBeforeSecond_data() {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::newRow("right") << QPoint(2, 2) << QPoint(10, 2);
        QTest::newRow("left") << QPoint(10, 3) << QPoint(2, 3);
        QTest::newRow("down") << QPoint(2, 1) << QPoint(2, 8);
        QTest::newRow("up") << QPoint(4, 8) << QPoint(4, 1);
        QTest::newRow("shallow up right") << QPoint(2, 8) << QPoint(11, 5);
        QTest::newRow("shallow up left") << QPoint(11, 5) << QPoint(2, 2);
        QTest::newRow("steep") << QPoint(3, 1) << QPoint(9, 10);
        QTest::newRow("diagonal") << QPoint(12, 12) << QPoint(4, 4);
    }

    // Qt's own aliased lines swap the ends of a right-to-left line; ours must not.
    void lineCoversFirstPointAndStopsBeforeSecond() {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QImage image = blank();
        {
            ChartCanvas canvas(image);
            canvas.setPenColor(Qt::black);
            canvas.line(from, to);
        }
        QCOMPARE(image.pixel(from), kInk);
        QCOMPARE(image.pixel(to), kWhite);
        const QList<QPoint> points = inked(image);
        QCOMPARE(points.size(), std::max(std::abs(to.x() - from.x()), std::abs(to.y() - from.y())));
    }

    void shallowLineSteps() {
        QImage image = blank();
        {
            ChartCanvas canvas(image);
            canvas.setPenColor(Qt::black);
            canvas.line({2, 8}, {11, 5});
        }
        // y = 8 - (x - 2) / 3 rounded to the nearest row.
        const int rows[] = {8, 8, 7, 7, 7, 6, 6, 6, 5};
        for (int i = 0; i < 9; ++i)
            QCOMPARE(image.pixel(2 + i, rows[i]), kInk);
    }

    void zeroLengthLineDrawsNothing() {
        QImage image = blank();
        {
            ChartCanvas canvas(image);
            canvas.setPenColor(Qt::black);
            canvas.line({5, 5}, {5, 5});
        }
        QVERIFY(inked(image).isEmpty());
    }

    void dottedLineLightsEveryOtherPixel() {
        QImage image = blank();
        {
            ChartCanvas canvas(image);
            canvas.setPenColor(Qt::black);
            canvas.dottedLine({7, 0}, {7, 9});
        }
        for (int y = 0; y < 24; ++y)
            QCOMPARE(image.pixel(7, y), (y < 9 && y % 2 == 0) ? kInk : kWhite);
        QCOMPARE(inked(image).size(), 5);
    }

    void openArrowHeadLeavesItsLastPoint() {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            ChartCanvas canvas(image);
            canvas.setPenColor(Qt::black);
            DrawArrow(canvas, 5, 10, 30, 10, 10, 20, false);
        }
        for (int x = 5; x < 30; ++x)
            QCOMPARE(image.pixel(x, 10), kInk);
        QCOMPARE(image.pixel(30, 10), kInk);  // the head's polyline passes the tip
        QCOMPARE(image.pixel(21, 13), kInk);  // P1
        QCOMPARE(image.pixel(21, 7), kWhite); // P3 ends the polyline
        QCOMPARE(image.pixel(22, 7), kInk);
        QCOMPARE(image.pixel(31, 10), kWhite);
        QCOMPARE(image.pixel(4, 10), kWhite);
    }

    void filledArrowHeadFillsTheTriangle() {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            ChartCanvas canvas(image);
            canvas.setPenColor(Qt::black);
            DrawArrow(canvas, 5, 10, 30, 10, 10, 20, true);
        }
        QCOMPARE(image.pixel(25, 11), kInk);
        QCOMPARE(image.pixel(25, 9), kInk);
    }

    void textsAreTransparent() {
        QImage image(60, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            ChartCanvas canvas(image);
            canvas.setFont(chart::font());
            canvas.setTextColor(Qt::black);
            canvas.text({2, 2}, QStringLiteral("　"));
        }
        // An ideographic space has no ink; an opaque background would show.
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 60; ++x)
                QCOMPARE(image.pixel(x, y), kWhite);
    }

    void chartFontShowsJapaneseAtTwelvePixels() {
        const QFont font = chart::font();
        QCOMPARE(font.pixelSize(), 12);
        QVERIFY(QFontMetrics(font).inFont(QChar(u'畝')));
        QVERIFY(QFontMetrics(font).inFontUcs4(U'ダ'));
    }
};

QTEST_MAIN(ChartCanvasTest)
#include "chart_canvas_test.moc"
