#include "crops/crop_records.h"
#include "plans/plan_chart.h"
#include "plans/plan_records.h"
#include "settings/preferences.h"

#include <QImage>
#include <QTest>

namespace {

// Distinct colours so that every pixel tells what drew it.
const int kArrowBgr = 0x0000FF; // red
const int kTextBgr = 0x00FF00;  // green
const int kLineBgr = 0xFF0000;  // blue
const QRgb kArrow = qRgb(255, 0, 0);
const QRgb kLine = qRgb(0, 0, 255);
const QRgb kBackground = qRgb(255, 255, 255);

void colour(TGroupList& plan) {
    plan.YajirusiColor = kArrowBgr;
    plan.MojiColor = kTextBgr;
    plan.SenColor = kLineBgr;
}

TSakumotu2* addEntry(TGroup& group, const QString& name, const QString& period, int ichi = 1, int down = 0) {
    TSakumotu2* entry = group.add();
    entry->name = name;
    const QStringList parts = period.split(QLatin1Char(' '));
    entry->StTuki = parts.value(0);
    entry->StShuu = parts.value(1);
    entry->EdTuki = parts.value(2);
    entry->EdShuu = parts.value(3);
    entry->ichi = ichi;
    entry->down = down;
    return entry;
}

QImage draw(TGroupList& plan) {
    QImage image;
    DrawChart(plan, image, settings::kDefaultImageCaption);
    return image;
}

// The bounding box of the text pixels in the area: neither background, nor line, nor arrow.
QRect inkIn(const QImage& image, const QRect& area, QRgb background = kBackground) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (pixel != background && pixel != kLine && pixel != kArrow)
                box |= QRect(x, y, 1, 1);
        }
    return box;
}

} // namespace

class PlanChartTest : public QObject {
    Q_OBJECT

private slots:
    void emptyPlanIsHeaderOnly() {
        TGroupList plan;
        colour(plan);
        plan.add()->name = QStringLiteral("empty bed");
        const QImage image = draw(plan);
        QCOMPARE(image.size(), QSize(697, 17));
        for (int x = 0; x < 697; ++x)
            QCOMPARE(image.pixel(x, 0), kLine);
        // The bottom border, where no header text reaches down over it.
        for (int x : {0, 4, 195, 210, 218, 690, 696})
            QCOMPARE(image.pixel(x, 16), kLine);
        QCOMPARE(image.pixel(0, 8), kLine);
        QCOMPARE(image.pixel(100, 9), kLine);
        QCOMPARE(image.pixel(696, 9), kLine);
        // The header texts are there.
        QVERIFY(!inkIn(image, QRect(5, 1, 90, 15)).isEmpty());
        QVERIFY(!inkIn(image, QRect(115, 1, 12, 15)).isEmpty());
    }

    void dummyOnlyPlanHasOneEmptyRowAndNoFooter() {
        TGroupList plan;
        colour(plan);
        TGroup* group = plan.add();
        group->name = QStringLiteral("畝");
        group->add()->name = kDummyCropName;
        const QImage image = draw(plan);
        QCOMPARE(image.size(), QSize(697, 45));
        QCOMPARE(image.pixel(300, 17), kLine);
        QCOMPARE(image.pixel(300, 44), kLine);
        // No arrow and no name in the row.
        QVERIFY(inkIn(image, QRect(101, 18, 33, 26)).isEmpty());
        QVERIFY(inkIn(image, QRect(136, 18, 33, 26)).isEmpty());
        // The group's name is.
        QVERIFY(!inkIn(image, QRect(5, 18, 95, 26)).isEmpty());
    }

    void oneCropAddsFooterAtItsPlace() {
        TGroupList plan;
        colour(plan);
        addEntry(*plan.add(), QStringLiteral("ナス"), "4 2 8 5");
        const QImage image = draw(plan);
        QCOMPARE(image.size(), QSize(697, 75));
        QCOMPARE(image.pixel(300, 44), kLine); // bottom border at H0 - 1
        const QRect footer = inkIn(image, QRect(0, 45, 697, 30));
        QVERIFY(!footer.isEmpty());
        QVERIFY(footer.left() >= 10);
        QVERIFY(footer.top() >= 50);
        QVERIFY(footer.left() <= 12);
        QVERIFY(footer.top() <= 56);
        // The caption 青葉録 alone, no address after it.
        QVERIFY(footer.right() > 40);
        QVERIFY(footer.right() < 60);
    }

    void backgroundFrameAndDottedMonthLines() {
        TGroupList plan;
        colour(plan);
        plan.HaikeiColor = 0x00FFFF; // yellow
        addEntry(*plan.add(), QStringLiteral("ナス"), "4 2 8 5");
        const QImage image = draw(plan);
        const QRgb yellow = qRgb(255, 255, 0);
        QCOMPARE(image.pixel(600, 30), yellow);
        QCOMPARE(image.pixel(600, 70), yellow);
        for (int x = 0; x < 697; ++x)
            QCOMPARE(image.pixel(x, 0), kLine);
        for (int y = 0; y < 45; ++y) {
            QCOMPARE(image.pixel(0, y), kLine);
            QCOMPARE(image.pixel(696, y), kLine);
        }
        // The header's first text is wider than its column and runs over the column's edge.
        for (int y = 17; y < 45; ++y)
            QCOMPARE(image.pixel(100, y), kLine);
        // x 170 to 380 lie under the arrow and the name.
        for (int y = 1; y < 44; ++y) {
            if (y == 17)
                continue;
            for (int x = 135; x <= 660; x += 35)
                if (x == 135 || x > 380)
                    QCOMPARE(image.pixel(x, y), y % 2 == 0 ? kLine : yellow);
        }
        QCOMPARE(image.pixel(135, 45), yellow);
    }

    void offsetMovesArrowAndName_data() {
        QTest::addColumn<int>("down");
        QTest::newRow("down 10") << 10;
        QTest::newRow("up 8") << -8;
        QTest::newRow("none") << 0;
    }

    void offsetMovesArrowAndName() {
        QFETCH(int, down);
        TGroupList plan;
        colour(plan);
        addEntry(*plan.add(), QStringLiteral("ナス"), "4 2 8 5", 1, down);
        const QImage image = draw(plan);
        const int y = 17; // the row's top
        const int ya = y + down + 8;
        for (int x = 177; x <= 345; ++x)
            QCOMPARE(image.pixel(x, ya), kArrow);
        QVERIFY(image.pixel(250, ya - 1) != kArrow);
        QVERIFY(image.pixel(250, ya + 1) != kArrow);
        QVERIFY(image.pixel(176, ya) != kArrow);
        QVERIFY(image.pixel(346, ya) != kArrow);
        // Both heads: P1 of each end.
        QCOMPARE(image.pixel(336, ya + 3), kArrow);
        QCOMPARE(image.pixel(186, ya + 3), kArrow);
        // The name's top-left corner is at (StX + 5, Y + down + 11).
        // Below the header texts, above the footer.
        const int top = std::max(ya - 3, 18);
        const QRect name = inkIn(image, QRect(177, top, 60, y + down + 11 + 13 - top));
        QVERIFY(!name.isEmpty());
        QVERIFY(name.left() >= 182 && name.left() <= 184);
        QVERIFY(name.top() >= y + down + 11 && name.top() <= y + down + 15);
        if (down == -8) // on the row's top edge, over the group's line
            QCOMPARE(image.pixel(250, 17), kArrow);
    }

    void arrowReachesRightBorder() {
        TGroupList plan;
        colour(plan);
        addEntry(*plan.add(), QStringLiteral("a"), "7 1 6 5");
        const QImage image = draw(plan);
        QCOMPARE(image.pixel(695, 25), kArrow);
        QCOMPARE(image.pixel(696, 25), kLine);
        QCOMPARE(image.pixel(275, 25), kArrow);
    }

    void arrowRunningOffTheRightIsCut() {
        TGroupList plan;
        colour(plan);
        addEntry(*plan.add(), QStringLiteral("a"), "8 1 7 1");
        const QImage image = draw(plan);
        QCOMPARE(image.width(), 697);
        for (int x = 310; x < 697; ++x)
            QCOMPARE(image.pixel(x, 25), kArrow);
        QCOMPARE(image.pixel(693, 28), kArrow); // the cut head's P1 stroke starts inside
        QCOMPARE(image.pixel(319, 28), kArrow); // the left head
    }

    void januaryIsDrawnAfterDecember() {
        TGroupList plan;
        colour(plan);
        addEntry(*plan.add(), QStringLiteral("a"), "1 1 1 2");
        const QImage image = draw(plan);
        QCOMPARE(image.pixel(485, 25), kArrow);
        QCOMPARE(image.pixel(499, 25), kArrow);
        QVERIFY(image.pixel(484, 25) != kArrow);
        QVERIFY(image.pixel(105, 25) != kArrow);
    }

    void backwardPeriodIsADoubleArrowBetweenTheEnds() {
        TGroupList plan;
        colour(plan);
        addEntry(*plan.add(), QStringLiteral("a"), "5 4 5 1");
        const QImage image = draw(plan);
        for (int x = 212; x <= 226; ++x)
            QCOMPARE(image.pixel(x, 25), kArrow);
        QVERIFY(image.pixel(211, 25) != kArrow);
        QVERIFY(image.pixel(227, 25) != kArrow);
        const QRect name = inkIn(image, QRect(200, 18, 80, 26));
        QVERIFY(name.left() >= 231 && name.left() <= 233);
    }

    void entriesThatCannotBeDrawnDoNotStopTheChart() {
        TGroupList plan;
        colour(plan);
        TGroup* group = plan.add();
        addEntry(*group, QStringLiteral("zero"), "5 3 5 2", 1);
        addEntry(*group, QStringLiteral("bad"), "x 3 y 2", 2);
        addEntry(*group, QStringLiteral("far"), "5 3 5 2", 3, 2000000000);
        addEntry(*group, QStringLiteral("fine"), "9 1 10 5", 4);
        const QImage image = draw(plan);
        QCOMPARE(image.size(), QSize(697, 17 + 4 * 28 + 30));
        // No arrow for the zero-length one, only its name at StX + 5.
        for (int x = 101; x < 696; ++x)
            QVERIFY(image.pixel(x, 25) != kArrow);
        QVERIFY(!inkIn(image, QRect(224, 28, 40, 16)).isEmpty());
        // The last entry is drawn: 9月1週 starts at 345.
        const int ya = 17 + 3 * 28 + 8;
        QCOMPARE(image.pixel(345, ya), kArrow);
        QCOMPARE(image.pixel(414, ya), kArrow);
    }

    void longGroupNameWrapsAndIsCutAtTheGroupsEdge() {
        TGroupList plan;
        colour(plan);
        TGroup* first = plan.add();
        first->order = 1;
        first->name = QStringLiteral("とても長い名前のグループです、折り返して三行目以降は切れます");
        addEntry(*first, QStringLiteral("a"), "4 2 8 5");
        TGroup* second = plan.add();
        second->order = 2;
        addEntry(*second, QStringLiteral("b"), "4 2 8 5");
        const QImage image = draw(plan);
        const QRect firstName = inkIn(image, QRect(1, 18, 99, 27));
        QVERIFY(firstName.left() >= 5);
        QVERIFY(firstName.right() <= 99);
        QVERIFY(firstName.bottom() > 18 + 14); // a second line
        QCOMPARE(image.pixel(50, 45), kLine);  // the second group's line
        QVERIFY(inkIn(image, QRect(1, 46, 99, 27)).isEmpty());
    }

    void coloursComeFromThePlan() {
        TGroupList plan;
        plan.YajirusiColor = 0x000080;
        plan.SenColor = 0x008000;
        plan.HaikeiColor = 0;
        plan.MojiColor = 0xFFFFFF;
        addEntry(*plan.add(), QStringLiteral("a"), "4 2 8 5");
        const QImage image = draw(plan);
        QCOMPARE(image.pixel(600, 30), qRgb(0, 0, 0));
        QCOMPARE(image.pixel(300, 0), qRgb(0, 128, 0));
        QCOMPARE(image.pixel(300, 25), qRgb(128, 0, 0));
        bool white = false;
        for (int x = 5; x < 100 && !white; ++x)
            for (int y = 1; y < 17 && !white; ++y)
                white = image.pixel(x, y) == qRgb(255, 255, 255);
        QVERIFY(white);
    }
};

QTEST_MAIN(PlanChartTest)
#include "plan_chart_test.moc"
