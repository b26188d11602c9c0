#include "crops/crop_records.h"
#include "history/history_support.h"
#include "plans/plan_records.h"
#include "schedule/task_records.h"
#include "seasons/season_records.h"
#include "store/message_sink.h"
#include "store/messages.h"
#include "store/notebook_files.h"
#include "support/files.h"

#include <QCryptographicHash>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using testsupport::folderOf;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

const QDate kToday(2027, 2, 14);

void fillPlan(TGroupList& plan) {
    plan.HaikeiColor = 255;
    TGroup* group = plan.add();
    group->name = QStringLiteral("北畝");
    group->order = 1;
    TSakumotu2* entry = group->add();
    entry->name = QStringLiteral("ナス");
    entry->StTuki = QStringLiteral("5");
    entry->StShuu = QStringLiteral("1");
    entry->EdTuki = QStringLiteral("10");
    entry->EdShuu = QStringLiteral("2");
    entry->down = -3;
    group->add()->name = kDummyCropName;
}

void fillTasks(TYoteiList& tasks) {
    TYotei* done = tasks.add();
    done->name = QStringLiteral("種まき");
    done->tuki = QStringLiteral("4");
    done->shuu = QStringLiteral("2");
    done->state = kYoteiDone;
    done->note = QStringList{QStringLiteral("ナス"), QStringLiteral("トマト")};
    TYotei* open = tasks.add();
    open->name = QStringLiteral("追肥");
    open->tuki = QStringLiteral("6");
    open->shuu = QStringLiteral("1");
}

QByteArray fingerprint(const QString& folder, const QStringList& names) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& name : names)
        hash.addData(name.toUtf8() + '\0' + readBytes(folder + name) + '\0');
    return hash.result();
}

QStringList windowsFiles() {
    QStringList names{kYoteiFileName};
    for (const PlanFileInfo& plan : PlanFiles())
        names << plan.fileName;
    return names;
}

} // namespace

class SeasonFilesTest : public QObject {
    Q_OBJECT
private slots:
    void yearEndingOnAClear_data();
    void yearEndingOnAClear();
    void yearsSeasonsAndKeptSchedulesSurviveAReload();
    void keepingASeasonTwiceReplacesIt();
    void savesAreUndoneByTheHistory();
    void windowsFilesAreByteIdenticalAfterAll();
    void hostileFilesAreRefused_data();
    void hostileFilesAreRefused();
};

void SeasonFilesTest::yearEndingOnAClear_data() {
    QTest::addColumn<QDate>("day");
    QTest::addColumn<int>("year");
    QTest::newRow("new year's day") << QDate(2027, 1, 1) << 2026;
    QTest::newRow("end of March") << QDate(2027, 3, 31) << 2026;
    QTest::newRow("first of April") << QDate(2027, 4, 1) << 2027;
    QTest::newRow("new year's eve") << QDate(2026, 12, 31) << 2026;
}

void SeasonFilesTest::yearEndingOnAClear() {
    QFETCH(QDate, day);
    QFETCH(int, year);
    QCOMPARE(seasons::YearEndingOn(day), year);
}

void SeasonFilesTest::yearsSeasonsAndKeptSchedulesSurviveAReload() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    store::RecordingSink sink;
    seasons::Seasons written;
    TGroupList plan;
    fillPlan(plan);
    TYoteiList tasks;
    fillTasks(tasks);
    written.setYear(PlanFiles()[3].fileName, 2026);
    written.setYear(PlanFiles()[0].fileName, 2027);
    written.keepPlan(2026, PlanFiles()[3].fileName, QStringLiteral("春の畑"), plan, kToday);
    written.keepSchedule(2026, tasks, kToday);
    QVERIFY(written.SaveYears(folder, sink));
    QVERIFY(written.SavePastPlans(folder, sink));
    QVERIFY(written.SavePastSchedules(folder, sink));

    seasons::Seasons read;
    QVERIFY(read.LoadFromFolder(folder, sink));
    QVERIFY(sink.messages.isEmpty());
    QCOMPARE(read.yearOf(PlanFiles()[0].fileName), std::optional<int>(2027));
    QCOMPARE(read.yearOf(PlanFiles()[3].fileName), std::optional<int>(2026));
    QCOMPARE(read.yearOf(PlanFiles()[1].fileName), std::nullopt);
    QCOMPARE(read.yearOrToday(PlanFiles()[1].fileName, kToday), 2027);
    const seasons::PastPlan* past = read.findPastPlan(2026, PlanFiles()[3].fileName);
    QVERIFY(past);
    QCOMPARE(past->kept, kToday);
    QCOMPARE(past->plan->name, QStringLiteral("春の畑"));
    QCOMPARE(past->plan->HaikeiColor, 255);
    QCOMPARE(past->plan->at(0)->count(), 2);
    QCOMPARE(EntryPeriodText(*past->plan->at(0)->at(0)), QStringLiteral("5月1週～10月2週"));
    QCOMPARE(past->plan->at(0)->at(0)->down, -3);
    QCOMPARE(int(read.pastSchedules().size()), 1);
    const TYoteiList& kept = *read.pastSchedules()[0].tasks;
    QCOMPARE(kept.count(), 2);
    QCOMPARE(kept.at(0)->state, kYoteiDone);
    QCOMPARE(kept.at(0)->note, (QStringList{QStringLiteral("ナス"), QStringLiteral("トマト")}));
    QCOMPARE(kept.at(1)->state, QString());
}

void SeasonFilesTest::keepingASeasonTwiceReplacesIt() {
    seasons::Seasons kept;
    TGroupList plan;
    fillPlan(plan);
    kept.keepPlan(2026, PlanFiles()[0].fileName, QStringLiteral("一回目"), plan, kToday);
    kept.keepPlan(2025, PlanFiles()[0].fileName, QStringLiteral("前年"), plan, kToday);
    kept.keepPlan(2026, PlanFiles()[0].fileName, QStringLiteral("二回目"), plan, kToday);
    QCOMPARE(int(kept.pastPlans().size()), 2);
    QCOMPARE(kept.pastPlans()[0].year, 2025);
    QCOMPARE(kept.findPastPlan(2026, PlanFiles()[0].fileName)->plan->name, QStringLiteral("二回目"));
}

void SeasonFilesTest::savesAreUndoneByTheHistory() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    store::RecordingSink sink;
    historytest::Recording on(folder);
    seasons::Seasons kept;
    TGroupList plan;
    fillPlan(plan);
    on.history.beginCommand(QStringLiteral("作付計画「年度を保存」"));
    kept.keepPlan(2026, PlanFiles()[0].fileName, QStringLiteral("畑"), plan, kToday);
    QVERIFY(kept.SavePastPlans(folder, sink));
    on.history.endCommand();
    TYoteiList tasks;
    fillTasks(tasks);
    on.history.beginCommand(QStringLiteral("予定「更新（完了をクリア）」"));
    kept.keepSchedule(2026, tasks, kToday);
    QVERIFY(kept.SavePastSchedules(folder, sink));
    on.history.endCommand();
    QCOMPARE(on.history.changes().size(), 2);
    QCOMPARE(on.history.changes().last().files.size(), 1);

    QVERIFY(on.history.undo().done);
    QVERIFY(!QFile::exists(folder + kKakoYoteiFileName));
    seasons::Seasons read;
    QVERIFY(read.LoadFromFolder(folder, sink));
    QCOMPARE(int(read.pastPlans().size()), 1);
    QVERIFY(read.pastSchedules().empty());
    QVERIFY(on.history.redo().done);
    QVERIFY(read.LoadFromFolder(folder, sink));
    QCOMPARE(int(read.pastSchedules().size()), 1);
    QVERIFY(sink.messages.isEmpty());
}

// The Windows copy reads and rewrites the plan and schedule files: years and
// seasons never change a byte of them.
void SeasonFilesTest::windowsFilesAreByteIdenticalAfterAll() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    store::RecordingSink sink;
    TGroupList plan;
    fillPlan(plan);
    for (const PlanFileInfo& file : PlanFiles())
        QVERIFY(plan.SaveToFile(folder, file.defaultCaption, file.fileName, sink));
    TYoteiList tasks;
    fillTasks(tasks);
    QVERIFY(tasks.SaveToFile(folder, sink));
    const QByteArray before = fingerprint(folder, windowsFiles());

    seasons::Seasons kept;
    QVERIFY(kept.LoadFromFolder(folder, sink));
    for (const PlanFileInfo& file : PlanFiles()) {
        TGroupList loaded;
        QVERIFY(loaded.LoadFromFile(folder, file.fileName, sink));
        kept.setYear(file.fileName, 2026);
        kept.keepPlan(2026, file.fileName, loaded.name, loaded, kToday);
    }
    kept.keepSchedule(2026, tasks, kToday);
    QVERIFY(kept.SaveYears(folder, sink));
    QVERIFY(kept.SavePastPlans(folder, sink));
    QVERIFY(kept.SavePastSchedules(folder, sink));
    QVERIFY(kept.LoadFromFolder(folder, sink));

    QCOMPARE(fingerprint(folder, windowsFiles()), before);
    QStringList expected =
        windowsFiles() + QStringList{kNendoFileName, kKakoSakutukeFileName, kKakoYoteiFileName};
    expected.sort();
    QCOMPARE(QDir(folder).entryList(QDir::Files, QDir::Name), expected);
}

void SeasonFilesTest::hostileFilesAreRefused_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    const QByteArray head = "<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>";
    QTest::newRow("year not a number")
        << kNendoFileName << head + "<data><nendo file=\"sakutuke1.xml\" year=\"abc\"/></data>";
    QTest::newRow("year 0") << kNendoFileName
                            << head + "<data><nendo file=\"sakutuke1.xml\" year=\"0\"/></data>";
    QTest::newRow("year 10000") << kNendoFileName
                                << head + "<data><nendo file=\"sakutuke1.xml\" year=\"10000\"/></data>";
    QTest::newRow("file outside") << kNendoFileName
                                  << head + "<data><nendo file=\"../sakutuke1.xml\" year=\"2026\"/></data>";
    QTest::newRow("ninth plan")
        << kKakoSakutukeFileName
        << head + "<data><kako nendo=\"2026\" file=\"sakutuke9.xml\"><sakutuke name=\"a\"/>"
                  "</kako></data>";
    QTest::newRow("season without plan")
        << kKakoSakutukeFileName << head + "<data><kako nendo=\"2026\" file=\"sakutuke1.xml\"/></data>";
    QTest::newRow("task without week") << kKakoYoteiFileName
                                       << head + "<data><kako nendo=\"2026\"><yotei name=\"a\" state=\"\"/>"
                                                 "</kako></data>";
    QTest::newRow("external entity")
        << kKakoYoteiFileName
        << head + "<!DOCTYPE data [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><data><kako nendo=\"2026\">"
                  "<yotei name=\"&x;\" tuki=\"4\" shuu=\"1\" state=\"\"/></kako></data>";
    QTest::newRow("not xml") << kKakoSakutukeFileName << QByteArray("<data><kako");
}

void SeasonFilesTest::hostileFilesAreRefused() {
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    QVERIFY(writeBytes(folder + file, bytes));
    store::RecordingSink sink;
    seasons::Seasons read;
    QVERIFY(!read.LoadFromFolder(folder, sink));
    QCOMPARE(sink.messages.size(), 1);
    QVERIFY(sink.messages[0].startsWith(QString::fromUtf8(msg::LoadFailed)));
    QCOMPARE(read.yearOf(PlanFiles()[0].fileName), std::nullopt);
    QVERIFY(read.pastPlans().empty());
    QVERIFY(read.pastSchedules().empty());
}

QTEST_GUILESS_MAIN(SeasonFilesTest)
#include "season_files_test.moc"
