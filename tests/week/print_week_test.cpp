#include "schedule/schedule_tab.h"
#include "schedule/task_records.h"
#include "support/files.h"
#include "support/scripted_platform.h"
#include "week_folder.h"
#include "widgets/app_context.h"
#include "widgets/list_view3.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace weektest;

namespace {

// Out of file order on purpose: the tab sorts by week after reading.
QString schedule() {
    return task("片付け", 12, 5) + task("種まき", 2, 5, {}, "ホウレンソウ\r\n二列") +
           task("植え付け", 2, 4, "完了") + task("追肥", 8, 5) + task("収穫", 8, 5, "完了") +
           task("土寄せ", 8, 4) + task("堆肥", 12, 4) + task("剪定", 1, 1) +
           task("年始の点検", 1, 1, "完了") + task("変な月", 0, 1) + task("月の名前", 99, 1);
}

struct Printed {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Printed printWeek(const QStringList& arguments) {
    QProcess program;
    program.start(programPath(), QStringList{"--print-week"} + arguments);
    program.waitForFinished();
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            program.readAllStandardOutput(), program.readAllStandardError()};
}

} // namespace

// What --print-week prints is what the schedule tab lists under 今週 and
// 過ぎてる（完了してない） on the same day, row for row.
class PrintWeekTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    // The rows of the tab under one filter, as --print-week writes them.
    QByteArray tabRows(const QDate& day, int filter, const QString& key) {
        ScriptedPlatform platform(testsupport::folderOf(m_dir));
        platform.date = day;
        TYoteiList tasks;
        tasks.LoadFromFile(platform.dataFolder(), platform);
        tasks.SortByWeek();
        AppContext context;
        context.platform = &platform;
        context.tasks = &tasks;
        TScheduleTab tab(context);
        tab.filters()->button(filter)->click();
        QByteArray lines;
        for (int i = 0; i < tab.list()->rowCount(); ++i) {
            const QString week = tab.list()->row(i)->text(1);
            const QString tuki = week.section(u'月', 0, 0);
            const QString shuu = week.section(u'月', 1).chopped(1);
            lines += QStringList{key, tuki, shuu, tab.list()->row(i)->text(2), tab.list()->row(i)->text(4)}
                         .join(u'\t')
                         .toUtf8() +
                     '\n';
        }
        return lines;
    }

    static QStringList namesUnder(const QByteArray& out, const QString& key) {
        QStringList names;
        for (const QByteArray& line : out.split('\n'))
            if (line.startsWith(key.toUtf8() + '\t'))
                names << QString::fromUtf8(line.split('\t').at(3));
        return names;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        const QByteArray bytes = windowsSchedule(schedule());
        QVERIFY(!bytes.isEmpty());
        QVERIFY(testsupport::writeBytes(m_dir.filePath("yotei.xml"), bytes));
    }

    void printsTheTabsRows_data() {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<QStringList>("thisWeek");
        QTest::addColumn<QStringList>("past");
        // 1 August 2026 is a Saturday: the 30th and 31st are a sixth week, whose
        // tasks are week 5's, and week 5's open ones are past as well.
        QTest::newRow("sixth week") << QDate(2026, 8, 31) << QStringList{"追肥", "収穫"}
                                    << QStringList{"変な月", "剪定", "種まき", "土寄せ", "追肥"};
        // No year: December is eleven months ahead on New Year's Day, never
        // overdue; a month 0 read from a hand-edited file is before every month.
        QTest::newRow("first of January")
            << QDate(2027, 1, 1) << QStringList{"剪定", "年始の点検"} << QStringList{"変な月"};
        QTest::newRow("29 February") << QDate(2028, 2, 29) << QStringList{"種まき"}
                                     << QStringList{"変な月", "剪定"};
        QTest::newRow("December") << QDate(2026, 12, 31) << QStringList{"片付け"}
                                  << QStringList{"変な月", "剪定", "種まき", "土寄せ", "追肥", "堆肥"};
    }

    void printsTheTabsRows() {
        QFETCH(QDate, day);
        QFETCH(QStringList, thisWeek);
        QFETCH(QStringList, past);
        const Printed printed = printWeek({"--date", day.toString(Qt::ISODate), "--data", m_dir.path()});
        QCOMPARE(printed.exitCode, 0);
        QCOMPARE(printed.err, QByteArray());
        QCOMPARE(printed.out, tabRows(day, 0, "今週") + tabRows(day, 2, "過ぎてる"));
        QCOMPARE(namesUnder(printed.out, "今週"), thisWeek);
        QCOMPARE(namesUnder(printed.out, "過ぎてる"), past);
    }

    void linesAreUtf8WithoutMarkOrNotes() {
        const Printed printed = printWeek({"--date", "2028-02-29", "--data", m_dir.path()});
        QCOMPARE(printed.out,
                 QByteArray("今週\t2\t5\t種まき\t\n過ぎてる\t0\t1\t変な月\t\n過ぎてる\t1\t1\t剪定\t\n"));
    }

    void nothingDuePrintsNothing() {
        QTemporaryDir empty;
        QVERIFY(testsupport::writeBytes(empty.filePath("yotei.xml"), windowsSchedule(task("片付け", 12, 5))));
        const Printed printed = printWeek({"--date", "2027-01-01", "--data", empty.path()});
        QCOMPARE(printed.exitCode, 0);
        QCOMPARE(printed.out, QByteArray());
    }

    void refusesWhatTheExportsRefuse_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said");
        QTest::newRow("no such day") << QStringList{"--date", "2027-02-29"} << 2 << "--date には日付を";
        QTest::newRow("date alone") << QStringList{"--date"} << 2 << "--date の後に値";
        QTest::newRow("missing folder") << QStringList{"--data", "/nonexistent/garden"} << 2
                                        << "データフォルダーがありません: /nonexistent/garden";
    }

    void refusesWhatTheExportsRefuse() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        const Printed printed = printWeek(arguments);
        QCOMPARE(printed.exitCode, exitCode);
        QVERIFY2(QString::fromUtf8(printed.err).contains(said), printed.err.constData());
        QCOMPARE(printed.out, QByteArray());
    }

    void damagedScheduleSaysSoAndPrintsNothing() {
        QTemporaryDir broken;
        QVERIFY(
            testsupport::writeBytes(broken.filePath("yotei.xml"),
                                    "<?xml version=\"1.0\"?><data><yotei name=\"a\" tuki=\"1\"/></data>"));
        const Printed printed = printWeek({"--date", "2027-01-01", "--data", broken.path()});
        QCOMPARE(printed.exitCode, 1);
        QVERIFY2(QString::fromUtf8(printed.err).contains("データの読み込みに失敗しました。"),
                 printed.err.constData());
        QCOMPARE(printed.out, QByteArray());
    }
};

QTEST_MAIN(PrintWeekTest)
#include "print_week_test.moc"
