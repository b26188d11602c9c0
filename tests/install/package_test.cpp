#include "support/files.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

using namespace testsupport;

namespace {

struct Ran {
    int exitCode = -1;
    QByteArray output; // standard output and error together
};

Ran run(const QString& program, const QStringList& arguments,
        const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(600000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, process.readAll()};
    return {process.exitCode(), process.readAll()};
}

QString architecture() {
    return QString::fromLatin1(run("dpkg", {"--print-architecture"}).output.trimmed());
}

} // namespace

// The Debian package as a user gets it: built by cpack from this build,
// unpacked into an empty root, and started from there.
class PackageTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_work;
    QString m_deb;

    QString root() const { return m_work.path() + "/root"; }
    QString installed(const QString& path) const { return root() + "/usr/" + path; }

private slots:
    void initTestCase() {
        for (const char* tool :
             {"dpkg", "dpkg-deb", "dpkg-shlibdeps", "desktop-file-validate", "appstreamcli", "file"})
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(
                    qPrintable(QStringLiteral("%1 is missing; bash scripts/setup.sh installs it").arg(tool)));
        QVERIFY(m_work.isValid());
        const Ran cpack =
            run(AOBAROKU_CPACK, {"-G", "DEB", "--config", AOBAROKU_BUILD_DIR "/CPackConfig.cmake", "-B",
                                 m_work.path() + "/package"});
        QVERIFY2(cpack.exitCode == 0, cpack.output.constData());
        m_deb = m_work.path() + "/package/aobaroku_" AOBAROKU_VERSION "-1_" + architecture() + ".deb";
        QVERIFY2(QFileInfo::exists(m_deb), qPrintable(m_deb));
        const Ran unpack = run("dpkg-deb", {"-x", m_deb, root()});
        QVERIFY2(unpack.exitCode == 0, unpack.output.constData());
    }

    void dependsOnJapaneseFontsAndDialogTexts() {
        const QByteArray depends = run("dpkg-deb", {"-f", m_deb, "Depends"}).output;
        QVERIFY2(depends.contains("fonts-noto-cjk") && depends.contains("qt6-translations-l10n") &&
                     depends.contains("libqt6widgets6"),
                 depends.constData());
    }

    // Installed without recommended packages, the window must still open.
    void dependsOnTheWindowSystemPlugin() {
        const QByteArray depends = run("dpkg-deb", {"-f", m_deb, "Depends"}).output;
        QVERIFY2(depends.contains("qt6-qpa-plugins"), depends.constData());
        const QByteArray recommends = run("dpkg-deb", {"-f", m_deb, "Recommends"}).output;
        QVERIFY2(recommends.contains("xdg-utils"), recommends.constData());
    }

    void programIsStripped() {
        const QByteArray kind = run("file", {"-b", installed("bin/aobaroku")}).output;
        QVERIFY2(kind.contains(", stripped"), kind.constData());
    }

    void desktopEntryAndMetainfoValidate() {
        const Ran desktop =
            run("desktop-file-validate", {installed("share/applications/" AOBAROKU_APP_ID ".desktop")});
        QVERIFY2(desktop.exitCode == 0 && desktop.output.isEmpty(), desktop.output.constData());
        const Ran metainfo =
            run("appstreamcli", {"validate", "--no-net", "--no-color",
                                 installed("share/metainfo/" AOBAROKU_APP_ID ".metainfo.xml")});
        QVERIFY2(metainfo.exitCode == 0 && !metainfo.output.contains("W:") && !metainfo.output.contains("E:"),
                 metainfo.output.constData());
    }

    void unpackedProgramPrintsItsVersion() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("QT_QPA_PLATFORM");
        const Ran version = run(installed("bin/aobaroku"), {"--version"}, env);
        QCOMPARE(version.exitCode, 0);
        QVERIFY2(version.output.startsWith("青葉録 " AOBAROKU_VERSION "\n"), version.output.constData());
    }

    // First start of a new user: the notebook is made in their home with the
    // starter catalogue, from the files the package ships.
    void firstStartMakesTheNotebookInAnEmptyHome() {
#ifndef AOBAROKU_SHIPS_STARTER_CATALOGUE
        QSKIP("configured with AOBAROKU_STARTER_DATA=OFF: the package ships no starter catalogue");
#endif
        const QString home = m_work.path() + "/home";
        const QString runtime = m_work.path() + "/runtime";
        QVERIFY(QDir().mkpath(home) && QDir().mkpath(runtime));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("XDG_DATA_HOME");
        env.insert("HOME", home);
        env.insert("XDG_RUNTIME_DIR", runtime);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(installed("bin/aobaroku"), {});
        QVERIFY(program.waitForStarted());

        const QString catalogue = home + "/.local/share/aobaroku/sakumotu.xml";
        const QByteArray starter = readBytes(AOBAROKU_STARTER_CATALOGUE);
        QVERIFY(!starter.isEmpty());
        for (int i = 0; i < 600 && readBytes(catalogue) != starter && program.state() == QProcess::Running;
             ++i)
            QTest::qWait(100);
        const bool running = program.state() == QProcess::Running;
        program.kill();
        program.waitForFinished();
        QVERIFY2(running, program.readAllStandardError().constData());
        QCOMPARE(readBytes(catalogue), starter);
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(home + "/.local/share/aobaroku").constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0700));
    }
};

QTEST_GUILESS_MAIN(PackageTest)
#include "package_test.moc"
