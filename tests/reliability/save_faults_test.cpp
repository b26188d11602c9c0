#include "file_kinds.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace rel;

namespace {

// The user a root test run drops to, so that permission bits bind again.
constexpr uid_t kNobody = 65534;

// Runs body in a forked child after setup; returns what the child reported,
// or why it did not report. An empty text means all went as it should. The
// child works in, and keeps its temporary files in, the folder elsewhere, which
// anyone may write: whatever a save puts there by mistake stays to be seen.
QString inChild(const QString& elsewhere, const std::function<void()>& setup,
                const std::function<QString()>& body) {
    if (!QDir().mkpath(elsewhere) || !QFile::setPermissions(elsewhere, QFile::Permissions(0x7777)))
        return QStringLiteral("no folder for stray files");
    int report[2];
    if (pipe(report) != 0)
        return QStringLiteral("no pipe");
    const pid_t child = fork();
    if (child < 0)
        return QStringLiteral("no fork");
    if (child == 0) {
        close(report[0]);
        if (chdir(QFile::encodeName(elsewhere).constData()) != 0)
            _exit(6);
        qputenv("TMPDIR", QFile::encodeName(elsewhere));
        setup();
        const QByteArray text = body().toUtf8();
        qsizetype written = 0;
        while (written < text.size()) {
            const ssize_t n = write(report[1], text.constData() + written, size_t(text.size() - written));
            if (n <= 0)
                break;
            written += n;
        }
        _exit(0);
    }
    close(report[1]);
    QByteArray text;
    char buffer[512];
    for (ssize_t n; (n = read(report[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        text.append(buffer, n);
    }
    close(report[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status))
        return QStringLiteral("the child died of signal %1").arg(WTERMSIG(status));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return QStringLiteral("the child exited with %1").arg(WEXITSTATUS(status));
    return QString::fromUtf8(text);
}

const QString kFull = QStringLiteral("ファイルが大きすぎて書き込めません。");
const QString kDenied = QStringLiteral("保存先に書き込む権限がありません。");

// A failed save: exactly its own message, for a data file with the cause on a
// line of its own where the gardener can act on it, and the list it saved from untouched.
QString checkFailedSave(const Kind& kind, const QString& folder, const Records& records,
                        const QString& cause = QString()) {
    store::RecordingSink sink;
    Records after;
    if (kind.save(folder, records, sink, &after))
        return QStringLiteral("the save succeeded");
    const QString expected =
        kind.saveMessage + (cause.isEmpty() || !kind.readable() ? QString() : QLatin1Char('\n') + cause);
    if (sink.messages != QStringList{expected})
        return QStringLiteral("messages: ") + sink.messages.join(QLatin1Char('|'));
    if (after != records)
        return QStringLiteral("the list changed");
    return QString();
}

QByteArray savedBytes(const Kind& kind, const Records& records) {
    QTemporaryDir scratch;
    store::RecordingSink sink;
    kind.save(folderOf(scratch.path()), records, sink, nullptr);
    return readBytes(folderOf(scratch.path()) + kind.fileName);
}

// The disk is full as far as the child can tell: writes beyond the limit fail.
void limitFileSize(rlim_t limit) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit fsize{limit, limit};
    setrlimit(RLIMIT_FSIZE, &fsize);
}

QString elsewhere(const QTemporaryDir& dir) {
    return dir.filePath(QStringLiteral("elsewhere"));
}

void addKindRows() {
    QTest::addColumn<QString>("id");
    for (const Kind& k : kinds())
        QTest::newRow(qPrintable(k.id)) << k.id;
}

void addReadableKindRows() {
    QTest::addColumn<QString>("id");
    for (const Kind& k : readableKinds())
        QTest::newRow(qPrintable(k.id)) << k.id;
}

} // namespace

class SaveFaultsTest : public QObject {
    Q_OBJECT
private slots:
    void fullDiskKeepsOldFile_data() { addKindRows(); }
    void fullDiskKeepsOldFile();
    void fullDiskWhileCopyingAsideKeepsOldFile_data() { addReadableKindRows(); }
    void fullDiskWhileCopyingAsideKeepsOldFile();
    void missingFolderGivesMessageAndCreatesNothing_data() { addKindRows(); }
    void missingFolderGivesMessageAndCreatesNothing();
    void folderThatIsAFileGivesMessage_data() { addKindRows(); }
    void folderThatIsAFileGivesMessage();
    void unwritableFolderKeepsOldFile_data() { addKindRows(); }
    void unwritableFolderKeepsOldFile();
    void nextSaveClearsWhatAKilledSaveLeft_data() { addKindRows(); }
    void nextSaveClearsWhatAKilledSaveLeft();
    void fileThatIsALinkStaysALink_data() { addKindRows(); }
    void fileThatIsALinkStaysALink();
};

void SaveFaultsTest::fullDiskKeepsOldFile() {
    QFETCH(QString, id);
    const Kind& kind = rel::kind(id);
    QTemporaryDir dir;
    QVERIFY(QDir().mkdir(elsewhere(dir)));
    const QString folder = folderOf(dir.path());
    store::RecordingSink sink;
    QVERIFY(kind.save(folder, kind.sample(4), sink, nullptr));
    const QMap<QString, QByteArray> before = snapshot(dir.path());

    const Records bigger = kind.sample(60);
    const rlim_t limit = rlim_t(savedBytes(kind, bigger).size() / 2);
    QVERIFY(limit > 0);
    const QString report = inChild(
        elsewhere(dir), [limit] { limitFileSize(limit); },
        [&] { return checkFailedSave(kind, folder, bigger, kFull); });
    QVERIFY2(report.isEmpty(), qPrintable(report));
    QCOMPARE(snapshot(dir.path()), before);
}

// A file that could not be read must be copied aside before it is replaced;
// when even the copy does not fit, the save fails and leaves all as it was.
void SaveFaultsTest::fullDiskWhileCopyingAsideKeepsOldFile() {
    QFETCH(QString, id);
    const Kind& kind = rel::kind(id);
    QTemporaryDir dir;
    QVERIFY(QDir().mkdir(elsewhere(dir)));
    const QString folder = folderOf(dir.path());
    QByteArray broken = savedBytes(kind, kind.sample(40));
    broken.chop(broken.size() / 3);
    QVERIFY(writeBytes(folder + kind.fileName, broken));
    const QMap<QString, QByteArray> before = snapshot(dir.path());

    const Records small = kind.sample(1);
    const rlim_t limit = rlim_t(broken.size() / 2);
    QVERIFY(savedBytes(kind, small).size() < qsizetype(limit));
    const QString report = inChild(
        elsewhere(dir), [limit] { limitFileSize(limit); },
        [&] {
            Records read;
            store::RecordingSink sink;
            if (kind.load(folder, read, sink))
                return QStringLiteral("the cut file loaded");
            return checkFailedSave(kind, folder, small, kFull);
        });
    QVERIFY2(report.isEmpty(), qPrintable(report));
    QCOMPARE(snapshot(dir.path()), before);
}

void SaveFaultsTest::missingFolderGivesMessageAndCreatesNothing() {
    QFETCH(QString, id);
    const Kind& kind = rel::kind(id);
    QTemporaryDir dir;
    QVERIFY(QDir().mkdir(elsewhere(dir)));
    const QString folder = folderOf(dir.filePath(QStringLiteral("data")));
    if (kind.readable()) {
        Records read;
        store::RecordingSink sink;
        QVERIFY(kind.load(folder, read, sink));
        QVERIFY(read.isEmpty());
        QVERIFY(sink.messages.isEmpty());
    }
    const QString report = inChild(
        elsewhere(dir), [] {}, [&] { return checkFailedSave(kind, folder, kind.sample(3)); });
    QVERIFY2(report.isEmpty(), qPrintable(report));
    QCOMPARE(snapshot(dir.path()).keys(), QStringList{QStringLiteral("elsewhere")});
}

void SaveFaultsTest::folderThatIsAFileGivesMessage() {
    QFETCH(QString, id);
    const Kind& kind = rel::kind(id);
    QTemporaryDir dir;
    QVERIFY(writeBytes(dir.filePath(QStringLiteral("data")), "not a folder"));
    const QMap<QString, QByteArray> before = snapshot(dir.path());
    const QString report =
        checkFailedSave(kind, folderOf(dir.filePath(QStringLiteral("data"))), kind.sample(3));
    QVERIFY2(report.isEmpty(), qPrintable(report));
    QCOMPARE(snapshot(dir.path()), before);
}

// Permission bits do not stop root, so a root run saves from a child that has
// become nobody; the folder is read-only to everyone else anyway.
void SaveFaultsTest::unwritableFolderKeepsOldFile() {
    QFETCH(QString, id);
    const Kind& kind = rel::kind(id);
    QTemporaryDir dir;
    QVERIFY(QDir().mkdir(elsewhere(dir)));
    const QString data = dir.filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkdir(data));
    const QString folder = folderOf(data);
    store::RecordingSink sink;
    QVERIFY(kind.save(folder, kind.sample(4), sink, nullptr));
    const QMap<QString, QByteArray> before = snapshot(dir.path());
    const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                        QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    QVERIFY(QFile::setPermissions(dir.path(), readOnly | QFile::WriteOwner));
    QVERIFY(QFile::setPermissions(data, readOnly));

    const QString report = inChild(
        elsewhere(dir),
        [] {
            if (geteuid() == 0 && (setgid(kNobody) != 0 || setuid(kNobody) != 0))
                _exit(5);
        },
        [&] {
            if (kind.readable()) {
                Records read;
                store::RecordingSink loadSink;
                if (!kind.load(folder, read, loadSink))
                    return QStringLiteral("the readable file did not load");
                if (read != kind.sample(4))
                    return QStringLiteral("the readable file loaded as something else");
            }
            return checkFailedSave(kind, folder, kind.sample(9), kDenied);
        });
    QFile::setPermissions(data, readOnly | QFile::WriteOwner);
    QVERIFY2(report.isEmpty(), qPrintable(report));
    QCOMPARE(snapshot(dir.path()), before);
}

// What a save killed between its two steps leaves behind has a fixed name; a
// leftover from a file system without unnamed temporary files has that name and more.
void SaveFaultsTest::nextSaveClearsWhatAKilledSaveLeft() {
    QFETCH(QString, id);
    const Kind& kind = rel::kind(id);
    QTemporaryDir dir;
    const QString folder = folderOf(dir.path());
    store::RecordingSink sink;
    QVERIFY(kind.save(folder, kind.sample(2), sink, nullptr));
    QVERIFY(writeBytes(folder + kind.fileName + QStringLiteral(".saving"), savedBytes(kind, kind.sample(3))));
    QVERIFY(writeBytes(folder + kind.fileName + QStringLiteral(".saving.AbCdEf"), "half a sa"));
    QVERIFY(kind.save(folder, kind.sample(5), sink, nullptr));
    QVERIFY(sink.messages.isEmpty());
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{kind.fileName});
    QCOMPARE(readBytes(folder + kind.fileName), savedBytes(kind, kind.sample(5)));
}

// A gardener who keeps a data file elsewhere through a link keeps the link.
void SaveFaultsTest::fileThatIsALinkStaysALink() {
    QFETCH(QString, id);
    const Kind& kind = rel::kind(id);
    QTemporaryDir dir;
    QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("data"))));
    QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("kept"))));
    const QString folder = folderOf(dir.filePath(QStringLiteral("data")));
    const QString kept = dir.filePath(QStringLiteral("kept/") + kind.fileName);
    QVERIFY(writeBytes(kept, savedBytes(kind, kind.sample(2))));
    QVERIFY(QFile::link(kept, folder + kind.fileName));
    store::RecordingSink sink;
    QVERIFY(kind.save(folder, kind.sample(5), sink, nullptr));
    QVERIFY(QFileInfo(folder + kind.fileName).isSymLink());
    QCOMPARE(readBytes(kept), savedBytes(kind, kind.sample(5)));
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{kind.fileName});
}

QTEST_GUILESS_MAIN(SaveFaultsTest)
#include "save_faults_test.moc"
