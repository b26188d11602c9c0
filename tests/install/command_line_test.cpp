#include "app/command_line.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QtTest>

// The command line is read before any application object exists; what it
// refuses ends the process with code 2 and creates nothing.
class CommandLineTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_root;
    QString m_out;
    QString m_err;

    store::Surroundings surroundings() const { return {m_root.path() + "/bin", m_root.path() + "/home", {}}; }
    QString perUserFolder() const { return m_root.path() + "/home/.local/share/aobaroku"; }

    StartDecision read(const QStringList& options) {
        m_out.clear();
        m_err.clear();
        QTextStream out(&m_out);
        QTextStream err(&m_err);
        return readCommandLine(QStringList{"aobaroku"} + options, surroundings(), out, err);
    }

    // The built program, with no display of any kind and an empty home.
    QProcess* runProgram(const QStringList& options) {
        auto* program = new QProcess(this);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY", "XDG_DATA_HOME"})
            env.remove(name);
        env.insert("HOME", m_root.path() + "/home");
        env.insert("XDG_RUNTIME_DIR", m_root.path() + "/runtime");
        program->setProcessEnvironment(env);
        program->start(qEnvironmentVariable("AOBAROKU_BIN_DIR") + "/aobaroku", options);
        return program;
    }

private slots:
    void init() {
        QVERIFY(m_root.isValid());
        QVERIFY(QDir().mkpath(m_root.path() + "/bin"));
        QVERIFY(QDir().mkpath(m_root.path() + "/home"));
        QVERIFY(QDir().mkpath(m_root.path() + "/runtime"));
    }

    void noOptionsOpensTheWindowOnTheDecidedFolder() {
        const StartDecision start = read({});
        QVERIFY(start.openWindow);
        QCOMPARE(start.dataFolder.path, perUserFolder() + '/');
        QVERIFY(!QFileInfo::exists(perUserFolder()));
    }

    void dataOptionNamesAnExistingFolder() {
        QVERIFY(QDir().mkpath(m_root.path() + "/garden"));
        const StartDecision start = read({"--data", m_root.path() + "/garden"});
        QVERIFY(start.openWindow);
        QCOMPARE(start.dataFolder.kind, store::DataFolder::Kind::Given);
        QCOMPARE(start.dataFolder.path, m_root.path() + "/garden/");
    }

    void refusals_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing folder")
            << QStringList{"--data", "ROOT/missing"} << "データフォルダーがありません: ROOT/missing\n";
        QTest::newRow("empty folder name") << QStringList{"--data", ""} << "データフォルダーがありません: \n";
        QTest::newRow("unknown option") << QStringList{"--colour"} << "不明なオプションです: --colour\n";
        QTest::newRow("no value") << QStringList{"--data"} << "--data の後に値 <DIR> がありません。\n";
        QTest::newRow("stray argument") << QStringList{"sakumotu.xml"} << "余分な引数です: sakumotu.xml\n";
    }
    void refusals() {
        QFETCH(QStringList, options);
        QFETCH(QString, message);
        options.replaceInStrings("ROOT", m_root.path());
        const StartDecision start = read(options);
        QVERIFY(!start.openWindow);
        QCOMPARE(start.exitCode, kUsageExitCode);
        QVERIFY2(m_err.startsWith(message.replace("ROOT", m_root.path())), qPrintable(m_err));
        QVERIFY(m_out.isEmpty());
        QVERIFY(!QFileInfo::exists(m_root.path() + "/missing"));
        QVERIFY(!QFileInfo::exists(perUserFolder()));
    }

    void unknownOptionShowsTheUsage() {
        read({"--colour"});
        QVERIFY(m_err.contains("使い方: aobaroku"));
        QVERIFY(m_err.contains("--data <DIR>"));
    }

    void helpAndVersionNameTheFolderThatWouldBeUsed_data() {
        QTest::addColumn<QString>("option");
        QTest::newRow("help") << "--help";
        QTest::newRow("version") << "--version";
    }
    void helpAndVersionNameTheFolderThatWouldBeUsed() {
        QFETCH(QString, option);
        const StartDecision start = read({option});
        QVERIFY(!start.openWindow);
        QCOMPARE(start.exitCode, 0);
        QVERIFY2(m_out.contains("データフォルダー: " + perUserFolder() + "/（初回の起動で作成します）\n"),
                 qPrintable(m_out));
        QVERIFY(!QFileInfo::exists(perUserFolder()));
    }

    void versionRunsWithoutAnyDisplay() {
        QProcess* program = runProgram({"--version"});
        QVERIFY(program->waitForFinished(60000));
        QCOMPARE(program->exitStatus(), QProcess::NormalExit);
        QCOMPARE(program->exitCode(), 0);
        const QString out = QString::fromUtf8(program->readAllStandardOutput());
        QVERIFY2(out.startsWith("青葉録 1.8.0\nデータフォルダー: "), qPrintable(out));
        QVERIFY(QDir(m_root.path() + "/runtime").isEmpty()); // no lock taken
    }

    void programRefusesAMissingDataFolderWithCode2() {
        QProcess* program = runProgram({"--data", m_root.path() + "/missing"});
        QVERIFY(program->waitForFinished(60000));
        QCOMPARE(program->exitCode(), 2);
        QCOMPARE(QString::fromUtf8(program->readAllStandardError()),
                 "データフォルダーがありません: " + m_root.path() + "/missing\n");
        QVERIFY(!QFileInfo::exists(m_root.path() + "/missing"));
        QVERIFY(QDir(m_root.path() + "/runtime").isEmpty());
    }

    // The exports run in the real program, with no display, and leave nothing behind when they fail.
    void exportsEndWithTheirExitCode_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("said");
        QTest::newRow("crops written")
            << QStringList{"--data", "ROOT/garden", "--export-crops", "ROOT/out.csv"} << 0
            << "ROOT/out.csv: ";
        QTest::newRow("harvests with no file yet")
            << QStringList{"--data", "ROOT/garden", "--export-harvests", "ROOT/out.csv"} << 0
            << "ROOT/out.csv: 収穫 0件を書き出しました。";
        QTest::newRow("diary with no file yet")
            << QStringList{"--data", "ROOT/garden", "--export-diary", "ROOT/out.csv"} << 0
            << "ROOT/out.csv: 日誌 0件を書き出しました。";
        QTest::newRow("missing data folder")
            << QStringList{"--data", "ROOT/missing", "--export-crops", "ROOT/out.csv"} << 2
            << "データフォルダーがありません: ROOT/missing";
        QTest::newRow("output in a missing folder")
            << QStringList{"--data", "ROOT/garden", "--export-purchases", "ROOT/nowhere/out.csv"} << 1 << "";
        QTest::newRow("output under a file")
            << QStringList{"--data", "ROOT/garden", "--export-calendar", "ROOT/garden/yotei.xml/out.ics"} << 1
            << "";
        QTest::newRow("a month without its command") << QStringList{"--month", "5"} << 2 << "";
    }
    void exportsEndWithTheirExitCode() {
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QString, said);
        QFile::remove(m_root.path() + "/out.csv");
        QVERIFY(QDir().mkpath(m_root.path() + "/garden"));
        QFile tasks(m_root.path() + "/garden/yotei.xml");
        QVERIFY(tasks.open(QIODevice::WriteOnly));
        tasks.write("<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?><data/>");
        tasks.close();
        QProcess* program = runProgram(options.replaceInStrings("ROOT", m_root.path()));
        QVERIFY(program->waitForFinished(60000));
        QCOMPARE(program->exitCode(), exitCode);
        const QString out = QString::fromUtf8(program->readAllStandardOutput());
        const QString err = QString::fromUtf8(program->readAllStandardError());
        said.replace("ROOT", m_root.path());
        QVERIFY2((exitCode == 0 ? out : err).startsWith(said), qPrintable(out + err));
        if (exitCode != 0)
            QVERIFY2(!err.isEmpty() && out.isEmpty(), qPrintable(out + err));
        QCOMPARE(QFileInfo::exists(m_root.path() + "/out.csv"), exitCode == 0);
        QVERIFY(!QFileInfo::exists(m_root.path() + "/missing"));
        QVERIFY(QDir(m_root.path() + "/runtime").isEmpty());
    }

    void programRefusesAnUnknownOptionWithCode2() {
        QProcess* program = runProgram({"--colour"});
        QVERIFY(program->waitForFinished(60000));
        QCOMPARE(program->exitCode(), 2);
        QVERIFY(program->readAllStandardOutput().isEmpty());
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "command_line_test.moc"
