#include "app/command_line.h"
#include "exports/calendar_export.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"
#include "store/message_sink.h"
#include "support/files.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <QtTest>
#include <unistd.h>

using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

const QByteArray kDeclaration = "<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>";
const QByteArray kLedger = kDeclaration + "<data>"
                                          "<cost nen=\"2013\" tuki=\"5\" hi=\"1\"><sina><name>a</name>"
                                          "<kingaku>100</kingaku></sina></cost>"
                                          "<cost nen=\"2014\" tuki=\"5\" hi=\"3\"><sina><name>b</name>"
                                          "<kingaku>500</kingaku></sina></cost>"
                                          "<cost nen=\"2014\" tuki=\"12\" hi=\"1\"><sina><name>c</name>"
                                          "<kingaku>300</kingaku></sina></cost></data>";
const QByteArray kSchedule = kDeclaration + "<data><yotei name=\"a\" tuki=\"12\" shuu=\"5\" state=\"\">"
                                            "<note></note></yotei></data>";
// 0x82 starts a double-byte character that '<' cannot end.
const QByteArray kNotCodePage932 = kDeclaration +
                                   "<data><cost nen=\"2014\" tuki=\"5\" hi=\"3\"><sina><name>\x82"
                                   "</name><kingaku>1</kingaku></sina></cost></data>";
const QByteArray kBom = "\xEF\xBB\xBF";

// Two words of English in a row: what the parser or the XML library would say.
const QRegularExpression kEnglish(QStringLiteral("[A-Za-z]+ [A-Za-z]+"));

} // namespace

// Everything the command line cannot follow is refused in Japanese with exit
// status 2 before any file is read or written; several exports all run.
class ExportOptionsTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_root;
    QString m_out;
    QString m_err;

    QString at(const QString& relative) const { return m_root.path() + '/' + relative; }

    StartDecision read(QStringList options) {
        m_out.clear();
        m_err.clear();
        QTextStream out(&m_out);
        QTextStream err(&m_err);
        options.replaceInStrings("ROOT", m_root.path());
        const store::Surroundings where{at("bin"), at("home"), {}};
        return readCommandLine(QStringList{"aobaroku"} + options, where, out, err);
    }

    QProcess* runProgram(const QStringList& options) {
        auto* program = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
            env.remove(name);
        env.insert("HOME", at("home"));
        env.insert("XDG_RUNTIME_DIR", at("runtime"));
        program->setProcessEnvironment(env);
        program->start(qEnvironmentVariable("AOBAROKU_BIN_DIR") + "/aobaroku",
                       QStringList(options).replaceInStrings("ROOT", m_root.path()));
        return program;
    }

    QStringList outputs() const {
        return QDir(m_root.path()).entryList({"*.csv", "*.ics"}, QDir::Files | QDir::System);
    }

private slots:
    void init() {
        for (const char* folder : {"data", "bin", "home", "runtime"}) {
            QDir(at(folder)).removeRecursively();
            QVERIFY(QDir().mkpath(at(folder)));
        }
        for (const QString& file : outputs())
            QVERIFY(QFile::remove(at(file)));
        QVERIFY(writeBytes(at("data/cost.xml"), kLedger));
        QVERIFY(writeBytes(at("data/yotei.xml"), kSchedule));
        QVERIFY(writeBytes(at("data/sakumotu.xml"), kDeclaration + "<data/>"));
    }

    void refusals_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("message");
        const QStringList purchases{"--data", "ROOT/data", "--export-purchases", "ROOT/out.csv"};
        const QStringList calendar{"--data", "ROOT/data", "--export-calendar", "ROOT/out.ics"};
        const QString year = "--year には 1 から 9999 までの年を指定してください: ";
        for (const char* wrong : {"0", "abc", "10000", "-1", "2014年", " 2014", ""})
            QTest::newRow(qPrintable(QString("year ") + wrong))
                << purchases + QStringList{"--year", wrong} << year + wrong;
        const QString month = "--month には 1 から 12 までの月を指定してください: ";
        for (const char* wrong : {"0", "13", "5月", "1.5", ""})
            QTest::newRow(qPrintable(QString("month ") + wrong))
                << purchases + QStringList{"--year", "2014", "--month", wrong} << month + wrong;
        QTest::newRow("month without year")
            << purchases + QStringList{"--month", "5"} << "--month <M> は --year <Y> と一緒に使います。";
        const QString from =
            "--from には 0001-01-01 から 2998-12-31 までの日付を YYYY-MM-DD の形で指定してください: ";
        for (const char* wrong :
             {"2015-13-01", "2015-1-10", "0000-01-01", "2999-01-01", "9999-12-31", "昨日", ""})
            QTest::newRow(qPrintable(QString("from ") + wrong))
                << calendar + QStringList{"--from", wrong} << from + wrong;
        QTest::newRow("no file name")
            << QStringList{"--export-crops", ""} << "--export-crops に書き出すファイルの名前がありません。";
        QTest::newRow("data without its value")
            << QStringList{"--data"} << "--data の後に値 <DIR> がありません。";
        QTest::newRow("export without its file") << QStringList{"--data", "ROOT/data", "--export-crops"}
                                                 << "--export-crops の後に値 <FILE> がありません。";
        QTest::newRow("a value for a switch")
            << QStringList{"--version=1"} << "--version は値を取りません: --version=1";
        QTest::newRow("unknown option") << QStringList{"--colour"} << "不明なオプションです: --colour";
        QTest::newRow("unknown short options") << QStringList{"-xy"} << "不明なオプションです: -x, -y";
        QTest::newRow("an option twice") << purchases + QStringList{"--year", "2014", "--year", "2015"}
                                         << "--year は一度だけ指定できます。";
        QTest::newRow("an export twice")
            << QStringList{"--export-crops", "ROOT/a.csv", "--export-crops", "ROOT/b.csv"}
            << "--export-crops は一度だけ指定できます。";
        QTest::newRow("version with an export") << QStringList{"--version", "--export-crops", "ROOT/a.csv"}
                                                << "--version と --export-crops は一緒に使えません。";
        QTest::newRow("two exports into one file")
            << QStringList{"--export-crops", "ROOT/a.csv", "--export-purchases", "ROOT/a.csv"}
            << "--export-purchases と --export-crops が同じファイルに書き出します: ROOT/a.csv";
        QTest::newRow("two exports into one file through a link")
            << QStringList{"--export-crops", "ROOT/link.csv", "--export-calendar", "ROOT/data/../a.csv"}
            << "--export-calendar と --export-crops が同じファイルに書き出します: ROOT/link.csv";
    }
    // A damaged ledger shows that nothing was read: its message would come first.
    void refusals() {
        QFETCH(QStringList, options);
        QFETCH(QString, message);
        QVERIFY(writeBytes(at("data/cost.xml"), kNotCodePage932));
        QVERIFY(QFile::link("a.csv", at("link.csv")));
        const QStringList dataBefore = QDir(at("data")).entryList(QDir::AllEntries | QDir::Hidden);
        const StartDecision start = read(options);
        QVERIFY(!start.openWindow);
        QCOMPARE(start.exitCode, kUsageExitCode);
        QCOMPARE(m_err.section('\n', 0, 0), message.replace("ROOT", m_root.path()));
        QVERIFY2(m_err.contains("使い方: aobaroku"), qPrintable(m_err));
        QVERIFY2(!m_err.contains(kEnglish), qPrintable(m_err));
        QCOMPARE(m_out, QString());
        QCOMPARE(outputs(), QStringList{"link.csv"});
        QCOMPARE(QDir(at("data")).entryList(QDir::AllEntries | QDir::Hidden), dataBefore);
        QVERIFY(!QFileInfo::exists(at("home/.local")));
    }

    void filtersTakeTheNumbersAsTheTabShowsThem_data() {
        QTest::addColumn<QStringList>("filters");
        QTest::addColumn<QByteArray>("rows");
        QTest::newRow("all") << QStringList{}
                             << QByteArray("2013/5/1,a,100\r\n2014/5/3,b,500\r\n2014/12/1,c,300\r\n");
        QTest::newRow("a year") << QStringList{"--year", "2014"}
                                << QByteArray("2014/5/3,b,500\r\n2014/12/1,c,300\r\n");
        QTest::newRow("year with a leading zero")
            << QStringList{"--year", "02014"} << QByteArray("2014/5/3,b,500\r\n2014/12/1,c,300\r\n");
        QTest::newRow("full-width year")
            << QStringList{"--year", "２０１４"} << QByteArray("2014/5/3,b,500\r\n2014/12/1,c,300\r\n");
        QTest::newRow("month 05 is May")
            << QStringList{"--year", "2014", "--month", "05"} << QByteArray("2014/5/3,b,500\r\n");
        QTest::newRow("a year without purchases") << QStringList{"--year", "9999"} << QByteArray();
    }
    void filtersTakeTheNumbersAsTheTabShowsThem() {
        QFETCH(QStringList, filters);
        QFETCH(QByteArray, rows);
        const StartDecision start =
            read(QStringList{"--data", "ROOT/data", "--export-purchases", "ROOT/out.csv"} + filters);
        QCOMPARE(m_err, QString());
        QCOMPARE(start.exitCode, 0);
        QCOMPARE(readBytes(at("out.csv")), kBom + "日付,購入内容,金額\r\n" + rows);
    }

    void fromReachesTheLastYearTheCalendarCanHold_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("first day") << "0001-01-01" << QByteArray("DTSTART;VALUE=DATE:0001");
        QTest::newRow("last day") << "2998-12-31" << QByteArray("DTSTART;VALUE=DATE:2998");
    }
    void fromReachesTheLastYearTheCalendarCanHold() {
        QFETCH(QString, from);
        QFETCH(QByteArray, start);
        const StartDecision decision =
            read({"--data", "ROOT/data", "--export-calendar", "ROOT/out.ics", "--from", from});
        QCOMPARE(m_err, QString());
        QCOMPARE(decision.exitCode, 0);
        const QByteArray ics = readBytes(at("out.ics"));
        QVERIFY2(ics.contains(start), ics.constData());
        QVERIFY(!ics.contains("00000000"));
    }

    // Days the library cannot write are never written as zeros.
    void theCalendarWriterRefusesYearsItCannotWrite() {
        TYoteiList tasks;
        TYotei* task = tasks.add();
        task->tuki = "12";
        task->shuu = "5";
        QVERIFY(!CalendarIcs(PlanCalendar(tasks, QDate(2998, 12, 31)), QDateTime::currentDateTimeUtc())
                     .contains("00000000"));
        for (const QDate& from : {QDate(3000, 1, 1), QDate(3000, 6, 1), QDate(9999, 6, 1)}) {
            QVERIFY(!CanPlaceFrom(from));
            QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                                     CalendarIcs(PlanCalendar(tasks, from), QDateTime::currentDateTimeUtc()));
        }
        QVERIFY(CanPlaceFrom(QDate(2998, 12, 31)));
        QVERIFY(!CanPlaceFrom(QDate(2999, 1, 1)));
    }

    void severalExportsAllRun() {
        const StartDecision start =
            read({"--data", "ROOT/data", "--export-crops", "ROOT/c.csv", "--export-calendar", "ROOT/y.ics",
                  "--from", "2015-01-10", "--export-purchases", "ROOT/p.csv", "--year", "2013"});
        QCOMPARE(m_err, QString());
        QCOMPARE(start.exitCode, 0);
        QVERIFY(!start.openWindow);
        QCOMPARE(outputs(), (QStringList{"c.csv", "p.csv", "y.ics"}));
        QCOMPARE(m_out.count('\n'), 3);
        QCOMPARE(readBytes(at("p.csv")), kBom + "日付,購入内容,金額\r\n2013/5/1,a,100\r\n");
    }

    // Each writes its own file or nothing; the one that failed sets the status.
    void oneExportFailingLeavesTheOthersWritten() {
        QVERIFY(writeBytes(at("data/cost.xml"), kNotCodePage932));
        const StartDecision start =
            read({"--data", "ROOT/data", "--export-purchases", "ROOT/p.csv", "--export-crops", "ROOT/c.csv"});
        QCOMPARE(start.exitCode, 1);
        QCOMPARE(outputs(), QStringList{"c.csv"});
        QVERIFY(m_err.startsWith("データの読み込みに失敗しました（cost）。\n"));
    }

    // An export saves nothing, so it promises no copy; the library says nothing of its own.
    void aDamagedFileSaysOnlyThatNothingWasWritten() {
        QVERIFY(writeBytes(at("data/cost.xml"), kNotCodePage932));
        QProcess* program = runProgram({"--data", "ROOT/data", "--export-purchases", "ROOT/out.csv"});
        QVERIFY(program->waitForFinished(60000));
        QCOMPARE(program->exitCode(), 1);
        QCOMPARE(QString::fromUtf8(program->readAllStandardError()),
                 "データの読み込みに失敗しました（cost）。\n" + at("data/cost.xml") +
                     " を読めないため、何も書き出していません。\n");
        QVERIFY(program->readAllStandardOutput().isEmpty());
        QCOMPARE(outputs(), QStringList());
        QCOMPARE(QDir(at("data")).entryList(QDir::Files),
                 (QStringList{"cost.xml", "sakumotu.xml", "yotei.xml"}));
    }

    void theProgramRefusesInJapanese() {
        QProcess* program = runProgram({"--data"});
        QVERIFY(program->waitForFinished(60000));
        QCOMPARE(program->exitCode(), 2);
        const QString err = QString::fromUtf8(program->readAllStandardError());
        QVERIFY2(err.startsWith("--data の後に値 <DIR> がありません。\n"), qPrintable(err));
        QVERIFY2(!err.contains(kEnglish), qPrintable(err));
    }

    // The window reads the same files: nothing of the library's reaches the terminal either.
    void loadingADamagedFileWritesNothingToStandardError() {
        QVERIFY(writeBytes(at("data/cost.xml"), kNotCodePage932));
        QTemporaryFile captured;
        QVERIFY(captured.open());
        fflush(stderr);
        const int saved = ::dup(STDERR_FILENO);
        ::dup2(captured.handle(), STDERR_FILENO);
        TCostList costs;
        store::RecordingSink sink;
        const bool loaded = costs.LoadFromFile(at("data/"), sink);
        fflush(stderr);
        ::dup2(saved, STDERR_FILENO);
        ::close(saved);
        QVERIFY(!loaded);
        QCOMPARE(sink.messages.size(), 1);
        QVERIFY(sink.messages[0].startsWith("データの読み込みに失敗しました（cost）。"));
        QCOMPARE(readBytes(captured.fileName()), QByteArray());
    }
};

QTEST_GUILESS_MAIN(ExportOptionsTest)
#include "export_options_test.moc"
