#include "app/application.h"
#include "app/display_check.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct Ran {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The real program started as a user would, with only what the case sets of the display variables.
Ran start(const QMap<QString, QString>& display) {
    QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    for (auto it = display.begin(); it != display.end(); ++it)
        env.insert(it.key(), it.value());
    env.insert("HOME", home.path());
    env.insert("XDG_RUNTIME_DIR", home.path());
    env.insert("XDG_DATA_HOME", home.path() + "/data");
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(qEnvironmentVariable("AOBAROKU_BIN_DIR") + "/aobaroku", {});
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return {-2, process.readAllStandardOutput(), process.readAllStandardError()};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

// Without a display the program says so in one Japanese line and exits with 1,
// before Qt would abort with its English message.
class NoDisplayTest : public QObject {
    Q_OBJECT
private slots:
    void decidesFromTheEnvironment_data() {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("wayland");
        QTest::addColumn<bool>("xAnswers");
        QTest::addColumn<bool>("opens");
        QTest::newRow("nothing set") << ""
                                     << ""
                                     << "" << true << false;
        QTest::newRow("an X display") << ""
                                      << ":0"
                                      << "" << true << true;
        QTest::newRow("an X display that does not answer") << ""
                                                           << ":9"
                                                           << "" << false << false;
        QTest::newRow("a Wayland session") << ""
                                           << ""
                                           << "wayland-0" << false << true;
        QTest::newRow("xcb asked, no display") << "xcb"
                                               << ""
                                               << "wayland-0" << true << false;
        QTest::newRow("wayland asked, none there") << "wayland"
                                                   << ":0"
                                                   << "" << true << false;
        QTest::newRow("wayland or xcb, X answers") << "wayland;xcb"
                                                   << ":0"
                                                   << "" << true << true;
        QTest::newRow("offscreen needs none") << "offscreen"
                                              << ""
                                              << "" << false << true;
        QTest::newRow("offscreen with options") << "offscreen:configfile=/x"
                                                << ""
                                                << "" << false << true;
        QTest::newRow("minimal needs none") << "minimal"
                                            << ""
                                            << "" << false << true;
    }
    void decidesFromTheEnvironment() {
        QFETCH(QString, platform);
        QFETCH(QString, display);
        QFETCH(QString, wayland);
        QFETCH(bool, xAnswers);
        QFETCH(bool, opens);
        QStringList asked;
        const QString reason = noDisplayReason({platform, display, wayland}, [&](const QString& d) {
            asked << d;
            return xAnswers;
        });
        QCOMPARE(reason.isEmpty(), opens);
        QVERIFY(!reason.contains(QLatin1Char('\n')));
        for (const QString& d : asked)
            QCOMPARE(d, display);
    }

    void withoutADisplayTheProgramSaysSoAndExitsWithOne_data() {
        QTest::addColumn<QString>("platform");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("said");
        QTest::newRow("nothing set") << ""
                                     << ""
                                     << "DISPLAY も WAYLAND_DISPLAY もありません";
        QTest::newRow("no X server there") << "xcb"
                                           << ":4093"
                                           << "ディスプレイ :4093 に接続できない";
    }
    void withoutADisplayTheProgramSaysSoAndExitsWithOne() {
        QFETCH(QString, platform);
        QFETCH(QString, display);
        QFETCH(QString, said);
        QMap<QString, QString> env;
        if (!platform.isEmpty())
            env.insert("QT_QPA_PLATFORM", platform);
        if (!display.isEmpty())
            env.insert("DISPLAY", display);
        const Ran ran = start(env);
        QCOMPARE(ran.exitCode, 1);
        const QString err = QString::fromUtf8(ran.err);
        QVERIFY2(err.contains(said), qPrintable(err));
        QCOMPARE(err.count(QLatin1Char('\n')), 1);
        QVERIFY(ran.out.isEmpty());
    }

    // The window manager and the task bar show the program's own picture,
    // also from a build tree where no icon theme has it.
    void windowsCarryTheProgramsIcon() {
        const QIcon icon = applicationIcon();
        QVERIFY(!icon.isNull());
        QVERIFY(icon.availableSizes().contains(QSize(48, 48)));
        const QImage picture = icon.pixmap(QSize(48, 48)).toImage();
        QCOMPARE(picture.size(), QSize(48, 48));
        QVERIFY(qAlpha(picture.pixel(24, 24)) > 0);
    }

    // The command-line commands need no display at all.
    void versionNeedsNoDisplay() {
        QTemporaryDir home;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(qEnvironmentVariable("AOBAROKU_BIN_DIR") + "/aobaroku", {"--version"});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 0);
    }
};

QTEST_MAIN(NoDisplayTest)
#include "no_display_test.moc"
