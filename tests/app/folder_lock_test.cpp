#include "store/locations.h"
#include "support/files.h"
#include "support/process_locks.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

using namespace testsupport;
using store::FolderOpening;

namespace {

const QString kRunning = QStringLiteral("青葉録は起動中です。");
const QString kUnlocked = QStringLiteral("データフォルダーをロックできません: ");

// Polls, within a generous bound, until done() holds.
bool eventually(const std::function<bool()>& done) {
    for (int i = 0; i < 600; ++i) {
        if (done())
            return true;
        QTest::qWait(100);
    }
    return done();
}

QString programPath() {
    return qEnvironmentVariable("AOBAROKU_BIN_DIR") + "/aobaroku";
}

// A user with no share in this test's files, as another account on the machine.
constexpr int kOtherUser = 65534;
const QStringList kAsOtherUser{"--reuid=65534", "--regid=65534", "--clear-groups"};

// The real program on one folder, as a user starts it from a terminal.
class Program {
public:
    // runtime: its own XDG_RUNTIME_DIR, also its home; empty leaves the variable unset.
    Program(const QString& folder, const QString& runtime, bool asOtherUser = false) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.remove("XDG_RUNTIME_DIR");
        if (!runtime.isEmpty()) {
            env.insert("XDG_RUNTIME_DIR", runtime);
            env.insert("HOME", runtime);
        }
        m_process.setProcessEnvironment(env);
        const QStringList options{"--data", folder};
        if (asOtherUser)
            m_process.start("setpriv", kAsOtherUser + QStringList{programPath()} + options);
        else
            m_process.start(programPath(), options);
        m_process.waitForStarted();
    }
    ~Program() {
        m_process.kill();
        m_process.waitForFinished();
    }

    qint64 pid() const { return m_process.processId(); }
    void kill() {
        m_process.kill();
        m_process.waitForFinished();
    }
    // Everything the program has said on standard error so far.
    QString said() {
        m_said += QString::fromUtf8(m_process.readAllStandardError());
        return m_said;
    }
    bool running() const { return m_process.state() == QProcess::Running; }
    // Until it has said text, or has ended.
    bool says(const QString& text) {
        return eventually([&] { return said().contains(text) || !running(); }) && said().contains(text);
    }

private:
    QProcess m_process;
    QString m_said;
};

} // namespace

// One program at a time on one data folder, whoever starts it. In-process
// cases take the lock as the start does; the rest start the real program
// twice on one folder, each with a runtime folder of its own.
class FolderLockTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_root;

    QString path(const QString& relative) const { return m_root.path() + '/' + relative; }
    QString lockFile(const QString& folder) const { return path(folder + '/' + kFolderLockName); }
    QStringList entries(const QString& folder) const {
        return QDir(path(folder)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    // A program in bin/ that ships a starter catalogue, and the per-user folder of an empty home.
    store::Surroundings surroundings() const { return {path("bin"), path("home"), QString()}; }
    store::DataFolder perUserFolder() const { return store::chooseDataFolder(surroundings()); }

    // The favourites page is written in the first showing of the window, and
    // by nothing that comes before it.
    static bool windowOpened(const QString& folder) { return QFileInfo::exists(folder + "/OkiniList.html"); }

    // Why the program cannot be started as another user here; empty when it can.
    static QString otherUserMissing() {
        if (::getuid() != 0)
            return "only root can start the program as another user";
        QProcess probe;
        probe.start("setpriv", kAsOtherUser + QStringList{"test", "-x", programPath()});
        if (!probe.waitForFinished(60000) || probe.exitCode() != 0)
            return "another user cannot run this build here";
        return QString();
    }

    // The garden open to the other user, who has a runtime folder of its own.
    bool shareWithTheOtherUser() const {
        const auto shared =
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;
        return QFile::setPermissions(m_root.path(), shared) &&
               QFile::setPermissions(path("garden"), shared) &&
               ::chown(QFile::encodeName(path("runtime2")).constData(), kOtherUser, kOtherUser) == 0;
    }

private slots:
    void init() {
        QVERIFY(m_root.isValid());
        QDir(m_root.path()).removeRecursively();
        for (const char* folder : {"bin/starter", "home", "garden"})
            QVERIFY(QDir().mkpath(path(folder)));
        // Private, as a session's runtime folder is.
        for (const char* folder : {"runtime1", "runtime2"})
            QVERIFY(QDir().mkdir(path(folder), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(writeBytes(path("bin/starter/sakumotu.xml"), "crops"));
    }

    void startFindingTheFolderHeldCopiesNoStarterFiles() {
        const store::DataFolder folder = perUserFolder();
        QVERIFY(QDir().mkpath(folder.path));
        store::LockFile first;
        QCOMPARE(store::lockDataFolder(first, folder.path), store::LockFile::Result::Taken);
        store::LockFile second;
        QCOMPARE(store::openDataFolder(folder, surroundings(), second), FolderOpening::InUse);
        QCOMPARE(entries("home/.local/share/aobaroku"), QStringList{kFolderLockName});
    }

    // The lock file comes before the starter files; a start killed in between still counts as the first.
    void folderHoldingOnlyItsLockFileIsAFirstStart() {
        const store::DataFolder folder = perUserFolder();
        QVERIFY(QDir().mkpath(folder.path));
        QVERIFY(writeBytes(folder.path + kFolderLockName, ""));
        store::LockFile lock;
        QCOMPARE(store::openDataFolder(folder, surroundings(), lock), FolderOpening::Ready);
        QCOMPARE(readBytes(folder.path + "sakumotu.xml"), QByteArray("crops"));
        QCOMPARE(QFileInfo(folder.path + kFolderLockName).size(), 0);
    }

    // A lock file the folder cannot hold leaves the notebook unguarded, not closed.
    void folderThatCannotBeLockedStillOpens_data() {
        QTest::addColumn<QString>("planted"); // what stands where the lock file goes
        QTest::newRow("a folder") << "folder";
        QTest::newRow("a link out of the folder") << "link";
        QTest::newRow("a pipe") << "pipe";
    }
    void folderThatCannotBeLockedStillOpens() {
        QFETCH(QString, planted);
        const store::DataFolder folder = perUserFolder();
        QVERIFY(QDir().mkpath(folder.path));
        if (planted == "folder")
            QVERIFY(QDir().mkpath(folder.path + kFolderLockName));
        else if (planted == "link")
            QVERIFY(QFile::link(path("outside"), folder.path + kFolderLockName));
        else
            QCOMPARE(::mkfifo(QFile::encodeName(folder.path + kFolderLockName).constData(), 0600), 0);
        store::LockFile lock;
        QCOMPARE(store::openDataFolder(folder, surroundings(), lock), FolderOpening::Unlocked);
        QVERIFY(!QFileInfo::exists(path("outside")));
        QCOMPARE(readBytes(folder.path + "sakumotu.xml"), QByteArray("crops"));
    }

    void secondProgramOnTheSameFolderEndsWithTheMessage_data() {
        QTest::addColumn<QString>("runtime");
        QTest::addColumn<bool>("asOtherUser");
        QTest::newRow("another runtime folder") << "runtime2" << false;
        QTest::newRow("no runtime folder") << "" << false;
        QTest::newRow("another user") << "runtime2" << true;
    }
    void secondProgramOnTheSameFolderEndsWithTheMessage() {
        QFETCH(QString, runtime);
        QFETCH(bool, asOtherUser);
        if (asOtherUser) {
            if (const QString missing = otherUserMissing(); !missing.isEmpty())
                QSKIP(qPrintable(missing));
            QVERIFY(shareWithTheOtherUser());
        }
        // The lock file is made under a umask that shares nothing; the other user still finds it held.
        const mode_t previous = ::umask(077);
        Program first(path("garden"), path("runtime1"));
        ::umask(previous);
        QVERIFY(lockTakenBy(first.pid(), lockFile("garden")));
        QVERIFY2(eventually([&] { return windowOpened(path("garden")); }), qPrintable(first.said()));
        QVERIFY(QFile::remove(path("garden/OkiniList.html")));

        Program second(path("garden"), runtime.isEmpty() ? QString() : path(runtime), asOtherUser);
        QVERIFY2(second.says(kRunning), qPrintable(second.said()));
        QVERIFY(second.running()); // the box waits for its OK
        QCOMPARE(entries("garden"), QStringList{kFolderLockName});
        QVERIFY(!holdsLock(second.pid(), lockFile("garden")));
    }

    void killingTheFirstProgramFreesTheFolder() {
        Program first(path("garden"), path("runtime1"));
        QVERIFY(lockTakenBy(first.pid(), lockFile("garden")));
        first.kill();
        Program second(path("garden"), path("runtime2"));
        QVERIFY(lockTakenBy(second.pid(), lockFile("garden")));
        QVERIFY(eventually([&] { return windowOpened(path("garden")); }));
        QVERIFY2(!second.said().contains(kRunning), qPrintable(second.said()));
        QCOMPARE(QFileInfo(lockFile("garden")).size(), 0);
    }

    // The exports only read; they run beside the window that holds the folder.
    void exportRunsWhileTheFolderIsHeld() {
        Program window(path("garden"), path("runtime1"));
        QVERIFY(lockTakenBy(window.pid(), lockFile("garden")));
        QProcess exporter;
        exporter.start(programPath(), {"--data", path("garden"), "--export-crops", path("crops.csv")});
        QVERIFY(exporter.waitForFinished(60000));
        QCOMPARE(exporter.exitCode(), 0);
        QVERIFY(QFileInfo::exists(path("crops.csv")));
    }

    // A folder whose lock file cannot be made: the program says so once and opens.
    void programOnAFolderThatCannotBeLockedSaysSoOnceAndOpens() {
        QVERIFY(QDir().mkpath(lockFile("garden")));
        Program program(path("garden"), path("runtime1"));
        QVERIFY2(program.says(kUnlocked + path("garden/")), qPrintable(program.said()));
        QVERIFY(eventually([&] { return windowOpened(path("garden")); }));
        QCOMPARE(program.said().count(kUnlocked), 1);
        QVERIFY(!program.said().contains(kRunning));
    }
};

QTEST_GUILESS_MAIN(FolderLockTest)
#include "folder_lock_test.moc"
