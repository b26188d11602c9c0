#include "crops/crop_records.h"
#include "plans/plan_chart.h"
#include "plans/plan_records.h"

#include <QTest>

namespace {

TSakumotu2* addEntry(TGroup& group, const QString& period, int ichi = 1) {
    TSakumotu2* entry = group.add();
    entry->name = QStringLiteral("crop");
    const QStringList parts = period.split(QLatin1Char(' '));
    entry->StTuki = parts.value(0);
    entry->StShuu = parts.value(1);
    entry->EdTuki = parts.value(2);
    entry->EdShuu = parts.value(3);
    entry->ichi = ichi;
    return entry;
}

} // namespace

class PlanLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void arrowEnds_data() {
        QTest::addColumn<QString>("period");
        QTest::addColumn<int>("stX");
        QTest::addColumn<int>("edX");
        QTest::newRow("4月2週～8月5週") << "4 2 8 5" << 177 << 345;
        QTest::newRow("11月1週～2月2週") << "11 1 2 2" << 415 << 534;
        QTest::newRow("1月1週～3月5週") << "1 1 3 5" << 485 << 590;
        QTest::newRow("12月1週～1月5週") << "12 1 1 5" << 450 << 520;
        QTest::newRow("7月1週～6月5週") << "7 1 6 5" << 275 << 695;
        QTest::newRow("8月1週～7月1週") << "8 1 7 1" << 310 << 702;
        QTest::newRow("5月4週～5月1週") << "5 4 5 1" << 226 << 212;
        QTest::newRow("5月3週～5月2週") << "5 3 5 2" << 219 << 219;
        QTest::newRow("2月1週～2月1週") << "2 1 2 1" << 100 << 107;
    }

    void arrowEnds() {
        QFETCH(QString, period);
        QFETCH(int, stX);
        QFETCH(int, edX);
        TGroupList plan;
        TSakumotu2* entry = addEntry(*plan.add(), period);
        plan.Layout();
        QVERIFY(entry->hasStart);
        QVERIFY(entry->hasEnd);
        QCOMPARE(entry->StX, stX);
        QCOMPARE(entry->EdX, edX);
    }

    void periodsThatAreNoNumbersCannotBePlaced() {
        TGroupList plan;
        TGroup* group = plan.add();
        TSakumotu2* noStart = addEntry(*group, "x 2 8 5");
        TSakumotu2* noEnd = addEntry(*group, "4 2 8 five");
        TSakumotu2* far = addEntry(*group, "4 2 8 999999999");
        TSakumotu2* fine = addEntry(*group, "4 2 8 5");
        plan.Layout();
        QVERIFY(!noStart->hasStart);
        QVERIFY(!noStart->hasEnd);
        QVERIFY(noEnd->hasStart);
        QCOMPARE(noEnd->StX, 177);
        QVERIFY(!noEnd->hasEnd);
        QVERIFY(!far->hasEnd);
        QVERIFY(fine->hasEnd);
    }

    void rowsOfAGroupFollowTheirNumbers() {
        TGroupList plan;
        TGroup* first = plan.add();
        first->order = 1;
        TSakumotu2* row3 = addEntry(*first, "4 2 8 5", 3);
        TSakumotu2* row1 = addEntry(*first, "4 2 8 5", 1);
        TGroup* second = plan.add();
        second->order = 2;
        TSakumotu2* a = addEntry(*second, "4 2 8 5", 2);
        TSakumotu2* b = addEntry(*second, "5 2 9 5", 2);
        plan.Layout();
        QCOMPARE(first->Top, 17);
        QCOMPARE(row1->Y, 17);
        QCOMPARE(row3->Y, 17 + 28);
        QCOMPARE(first->Bottom, 17 + 56);
        QCOMPARE(second->Top, 73);
        QCOMPARE(a->Y, 73);
        QCOMPARE(b->Y, 73);
        QCOMPARE(second->Bottom, 101);
        QCOMPARE(plan.ChartHeight(), 101);
    }

    void layoutSortsGroupsAndSkipsEmptyOnes() {
        TGroupList plan;
        TGroup* late = plan.add();
        late->order = 5;
        addEntry(*late, "4 2 8 5");
        TGroup* empty = plan.add();
        empty->order = 0;
        empty->Top = 1234;
        empty->Bottom = 5678;
        TGroup* early = plan.add();
        early->order = 1;
        addEntry(*early, "4 2 8 5");
        plan.Layout();
        QCOMPARE(plan.at(0), empty);
        QCOMPARE(plan.at(1), early);
        QCOMPARE(empty->Top, 1234);
        QCOMPARE(empty->Bottom, 5678);
        QCOMPARE(early->Top, 17);
        QCOMPARE(late->Top, 45);
        QCOMPARE(plan.ChartHeight(), 73);
    }

    void dummyTakesARowButIsNotPlaced() {
        TGroupList plan;
        TGroup* group = plan.add();
        TSakumotu2* dummy = group->add();
        dummy->name = kDummyCropName;
        dummy->ichi = 1;
        TSakumotu2* crop = addEntry(*group, "4 2 8 5", 2);
        plan.Layout();
        QVERIFY(!dummy->hasStart);
        QCOMPARE(dummy->Y, 17);
        QCOMPARE(crop->Y, 45);
        QCOMPARE(plan.ChartHeight(), 73);
    }

    void emptyPlanHasHeaderOnly() {
        TGroupList plan;
        plan.add();
        QCOMPARE(plan.ChartHeight(), 17);
    }

    void arrowHeadPoints_data() {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QPoint>("p1");
        QTest::addColumn<QPoint>("p3");
        QTest::newRow("right") << QPoint(177, 35) << QPoint(345, 35) << QPoint(336, 38) << QPoint(336, 32);
        QTest::newRow("left") << QPoint(345, 35) << QPoint(177, 35) << QPoint(186, 38) << QPoint(186, 32);
        QTest::newRow("down") << QPoint(0, 0) << QPoint(0, 20) << QPoint(-3, 11) << QPoint(3, 11);
        QTest::newRow("up") << QPoint(0, 20) << QPoint(0, 0) << QPoint(-3, 9) << QPoint(3, 9);
        QTest::newRow("diagonal") << QPoint(0, 0) << QPoint(10, 10) << QPoint(1, 6) << QPoint(6, 1);
    }

    void arrowHeadPoints() {
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        QFETCH(QPoint, p1);
        QFETCH(QPoint, p3);
        const auto points = ArrowHeadPoints(from.x(), from.y(), to.x(), to.y(), 10, 20);
        QCOMPARE(points.first, p1);
        QCOMPARE(points.second, p3);
    }

    void coloursHoldRedInTheLowByte() {
        QCOMPARE(ChartColor(255), QColor(255, 0, 0));
        QCOMPARE(ChartColor(0xFF0000), QColor(0, 0, 255));
        QCOMPARE(ChartColor(16777215), QColor(Qt::white));
        QCOMPARE(BgrColor(QColor(0x12, 0x34, 0x56)), 0x563412);
    }
};

QTEST_MAIN(PlanLayoutTest)
#include "plan_layout_test.moc"
