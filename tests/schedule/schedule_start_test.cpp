#include "app/main_window.h"
#include "schedule/schedule_tab.h"
#include "schedule_support.h"
#include "support/scripted_platform.h"
#include "widgets/list_view3.h"

#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace scheduletest;

class ScheduleStartTest : public QObject {
    Q_OBJECT

private slots:
    void loadsSortsAndShowsThisWeek();
    void damagedScheduleIsReportedOnce();
};

void ScheduleStartTest::loadsSortsAndShowsThisWeek() {
    QTemporaryDir dir;
    ScriptedPlatform platform(dir.path() + QLatin1Char('/'));
    platform.date = QDate(2026, 5, 14); // week 3 of May
    TYoteiList seeds;
    fill(seeds, {{"六月", "6", "1", "", {}},
                 {"今週B", "5", "3", "完了", {}},
                 {"十月", "10", "1", "", {}},
                 {"九月", "9", "2", "", {}},
                 {"今週A", "5", "3", "", {}}});
    QVERIFY(seeds.SaveToFile(platform.dataFolder(), platform));

    TForm5 window(platform);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    TYoteiList* tasks = window.context().tasks;
    QVERIFY(tasks);
    QCOMPARE(names(*tasks), (QStringList{"今週B", "今週A", "六月", "九月", "十月"}));
    TScheduleTab* tab = window.scheduleTab();
    QCOMPARE(tab->filters()->checkedId(), 0);
    QCOMPARE(tab->list()->rowCount(), 2);
    QCOMPARE(tab->list()->row(0)->text(2), QStringLiteral("今週B"));
    QCOMPARE(tab->list()->row(1)->text(2), QStringLiteral("今週A"));
    QVERIFY(platform.messages.isEmpty());
}

void ScheduleStartTest::damagedScheduleIsReportedOnce() {
    QTemporaryDir dir;
    ScriptedPlatform platform(dir.path() + QLatin1Char('/'));
    QFile file(dir.filePath(kYoteiFileName));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<data><yotei name=");
    file.close();

    TForm5 window(platform);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    // The second line says where the damaged file will be kept, before anything overwrites it.
    QCOMPARE(platform.messages,
             QStringList(QStringLiteral("データの読み込みに失敗しました。\n") + file.fileName() +
                         QStringLiteral(" の元の内容は、次に保存する前に yotei.xml.unreadable-日付-時刻 "
                                        "として同じフォルダーに残します。")));
    QCOMPARE(window.context().tasks->count(), 0);
    QCOMPARE(window.scheduleTab()->list()->rowCount(), 0);
    QVERIFY(QDir(dir.path()).entryList({QStringLiteral("yotei.xml.unreadable-*")}).isEmpty());
}

QTEST_MAIN(ScheduleStartTest)
#include "schedule_start_test.moc"
