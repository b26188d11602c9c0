#include "crops/crop_records.h"
#include "plan_test_files.h"
#include "plans/chart_box.h"
#include "plans/plan_chart.h"
#include "plans/plan_records.h"
#include "plans/plan_tab.h"
#include "settings/preferences.h"
#include "support/scripted_platform.h"
#include "widgets/app_context.h"

#include <QAbstractButton>
#include <QImageReader>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QByteArray kOneCrop = plantest::planFile(
    "<sakutuke name=\"\"><group name=\"G\" order=\"1\"><sakumotu name=\"A\" StTuki=\"4\" StShuu=\"2\" "
    "EdTuki=\"8\" EdShuu=\"5\" ichi=\"1\" down=\"0\"/></group></sakutuke>");

// How many pixels of the area differ between two images of the same size.
int differing(const QImage& a, const QImage& b, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                ++count;
    return count;
}

} // namespace

// On a screen at 200 % the chart is drawn at the screen's pixel ratio, sharp
// rather than an enlarged picture, in the same layout; the saved picture keeps
// its own size.
class SharpChartTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    QString folder() const { return m_dir.path() + QLatin1Char('/'); }

private slots:
    void screenAtTwiceTheScaleShowsTheChartDrawnFiner() {
        QVERIFY(plantest::writeBytes(folder() + "sakutuke1.xml", kOneCrop));
        ScriptedPlatform platform(folder());
        TGroupList plan;
        TSakumotuList crops;
        QImage chart;
        AppContext context;
        context.platform = &platform;
        context.plan = &plan;
        context.crops = &crops;
        context.chart = &chart;
        TPlanTab tab(context);
        tab.resize(776, 600);
        tab.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tab));
        QCOMPARE(tab.devicePixelRatioF(), 2.0);
        tab.SpeedButtonClick();

        auto* box = qobject_cast<TChartBox*>(tab.chartArea()->widget());
        QVERIFY(box);
        QCOMPARE(chart.size(), QSize(697, 75));
        QCOMPARE(chart.devicePixelRatio(), 1.0);
        QCOMPARE(box->size(), QSize(697, 75));
        const QImage shown = box->shownImage();
        QCOMPARE(shown.size(), QSize(1394, 150));
        QCOMPARE(shown.devicePixelRatio(), 2.0);

        const QImage enlarged = chart.scaled(1394, 150).convertToFormat(shown.format());
        // The lines lie where they lay: the frame, the header line, the group line.
        for (int y : {0, 17 * 2, 44 * 2})
            QCOMPARE(differing(shown, enlarged, QRect(0, y, 1394, 2)), 0);
        // The texts are drawn anew at the finer size: the header and the footer.
        QVERIFY(differing(shown, enlarged, QRect(0, 2 * 2, 1394, 14 * 2)) > 200);
        QVERIFY(differing(shown, enlarged, QRect(0, 46 * 2, 697 * 2, 28 * 2)) > 50);

        // Saved, the chart keeps its own size.
        platform.saveAs = folder() + "chart.jpg";
        tab.findChild<QAbstractButton*>("planSaveImageButton")->click();
        QCOMPARE(QImageReader(platform.saveAs).size(), QSize(697, 75));
    }

    // The ratio only scales: every chart pixel of a flat area covers a square of image pixels.
    void drawingAtARatioKeepsTheLayout() {
        TGroupList plan;
        QImage one, two;
        DrawChart(plan, one, settings::kDefaultImageCaption);
        DrawChart(plan, two, settings::kDefaultImageCaption, 2.0);
        QCOMPARE(two.size(), one.size() * 2);
        // Away from the header texts: borders, the label column's edge, a dotted month line.
        for (const QPoint& p : {QPoint(0, 0), QPoint(0, 8), QPoint(100, 1), QPoint(135, 0), QPoint(136, 1),
                                QPoint(696, 8), QPoint(50, 16)})
            for (const QPoint& d : {QPoint(0, 0), QPoint(1, 0), QPoint(0, 1), QPoint(1, 1)})
                QCOMPARE(two.pixel(p * 2 + d), one.pixel(p));
    }
};

int main(int argc, char** argv) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    SharpChartTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "sharp_chart_test.moc"
