#include "file_kinds.h"
#include "history/command_scope.h"
#include "history/history.h"
#include "history/version_pack.h"
#include "store/save_file.h"
#include "support/file_size_limit.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace rel;

namespace {

// Enough kills to land in every step of a save many times over, few enough for a quick run.
constexpr int kKills = 200;
// The list grows by one record per save and starts over here, so saves stay short.
constexpr int kLongestList = 120;

void sleepMicroseconds(long us) {
    timespec t{us / 1000000, (us % 1000000) * 1000};
    while (nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

// The random moment of a kill is counted from the child's first report, so
// that a slow machine still has its work cut at every step. reports, when
// given, receives how many reports the child made before it died.
template <class Work>
void killAtRandom(std::mt19937& random, long mostMicroseconds, Work work, int* reports = nullptr) {
    int done[2];
    QCOMPARE(pipe(done), 0);
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        close(done[0]);
        work(done[1]);
        _exit(5);
    }
    close(done[1]);
    char c = 0;
    const bool reported = read(done[0], &c, 1) == 1;
    std::uniform_int_distribution<long> delay(0, mostMicroseconds);
    sleepMicroseconds(delay(random));
    ::kill(child, SIGKILL);
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    int count = reported ? 1 : 0;
    while (read(done[0], &c, 1) == 1)
        ++count;
    close(done[0]);
    if (reports)
        *reports = count;
    QVERIFY2(reported && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL, "the child failed on its own");
}

void tellParent(int done) {
    if (write(done, "d", 1) != 1)
        _exit(4);
}

// Saves n, n+1, ... records until killed, telling the parent of every finished
// save; exits with 3 when a save fails.
[[noreturn]] void saveForever(const Kind& kind, const QString& folder, int n, int done) {
    for (;;) {
        store::RecordingSink sink;
        if (!kind.save(folder, kind.sample(n), sink, nullptr) || !sink.messages.isEmpty())
            _exit(3);
        tellParent(done);
        n = n >= kLongestList ? 1 : n + 1;
    }
}

// The number of records the file holds, read as the program reads it; -1 when it cannot be read in full.
int recordsIn(const Kind& kind, const QString& folder) {
    if (!kind.readable())
        return int(readBytes(folder + kind.fileName).count("<p><a href="));
    Records records;
    store::RecordingSink sink;
    if (!kind.load(folder, records, sink) || !sink.messages.isEmpty())
        return -1;
    return int(records.size());
}

QByteArray bytesOfState(const Kind& kind, int n) {
    static QMap<QPair<QString, int>, QByteArray> known;
    const auto key = qMakePair(kind.id, n);
    if (!known.contains(key)) {
        QTemporaryDir scratch;
        store::RecordingSink sink;
        kind.save(folderOf(scratch.path()), kind.sample(n), sink, nullptr);
        known.insert(key, readBytes(folderOf(scratch.path()) + kind.fileName));
    }
    return known.value(key);
}

// Enough kills of each kind of history work to land in every one of its steps.
constexpr int kHistoryKills = 100;
// Undo and redo of one change go on for the whole test: nothing may be pruned.
// Every version is packed after its change, so kills land in packing too.
const history::Limits kKeepAll{1000000, 20, 50LL * 1024 * 1024, 10, 1};

const Kind& tasks() {
    return kind(QStringLiteral("tasks"));
}

const Kind& purchases() {
    return kind(QStringLiteral("purchases"));
}

// The schedule with ソラマメ added, as the gardener saves it after the undo.
Records beanTasks() {
    Records records = tasks().sample(3);
    Record bean = records.first();
    bean[0] = QStringLiteral("ソラマメ");
    records << bean;
    return records;
}

// One command that saves two files, n records in one and n + 1 in the other.
void saveBoth(history::History& h, const QString& folder, int n) {
    const history::CommandScope change(&h, QStringLiteral("両方"));
    store::RecordingSink sink;
    if (!tasks().save(folder, tasks().sample(n), sink, nullptr) ||
        !purchases().save(folder, purchases().sample(n + 1), sink, nullptr))
        _exit(3);
}

[[noreturn]] void saveChangesForever(const QString& folder, int n, int done) {
    history::History h(folder, kKeepAll);
    store::installSaveRecorder(&h);
    for (;;) {
        saveBoth(h, folder, n);
        tellParent(done);
        n = n >= kLongestList ? 1 : n + 1;
    }
}

[[noreturn]] void undoAndRedoForever(const QString& folder, int done) {
    history::History h(folder, kKeepAll);
    store::installSaveRecorder(&h);
    for (;;) {
        const bool undo = h.undoState().nextUndo() != 0;
        if (!(undo ? h.undo() : h.redo()).done)
            _exit(3);
        tellParent(done);
    }
}

// What the history says of the file is what is on disk: the latest change
// that touched it left exactly this file, with this many records.
QString historyMatchesDisk(const history::History& h, const Kind& kind, const QString& folder) {
    const int n = recordsIn(kind, folder);
    if (n < 0 || readBytes(folder + kind.fileName) != bytesOfState(kind, n))
        return kind.id + QStringLiteral(": not a complete save");
    for (auto c = h.changes().crbegin(); c != h.changes().crend(); ++c) {
        const history::FileChange* f = c->file(kind.fileName);
        if (!f)
            continue;
        if (f->recordsAfter != n || f->after != history::FileIdentity::of(folder + kind.fileName))
            return kind.id + QStringLiteral(": the history lost track of the file");
        return QString();
    }
    return kind.id + QStringLiteral(": no change holds the file");
}

QByteArray keptBytes(const QString& folder, const history::FileChange& f) {
    return history::unpackVersion(readBytes(folder + QStringLiteral("history/kept/") + f.kept))
        .value_or("damaged");
}

// Restores the folder to before the first change and undoes the restore, over and over.
[[noreturn]] void restoreAndUndoForever(const QString& folder, history::ChangeId first, int done) {
    history::History h(folder, kKeepAll);
    store::installSaveRecorder(&h);
    for (;;) {
        const history::Change* latest = h.find(h.undoState().nextUndo());
        const bool restored = latest && latest->kind == history::ChangeKind::Restore;
        if (!(restored ? h.undo() : h.restore(first)).done)
            _exit(3);
        tellParent(done);
    }
}

// A folder and every file below it, copied.
bool copyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QFileInfo& entry :
         QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString target = to + QLatin1Char('/') + entry.fileName();
        if (entry.isDir() ? !copyTree(entry.filePath(), target) : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

// An undo of 両方 that can neither finish nor be taken back while the disk is
// full, then, with room again, the first save: the schedule with ソラマメ.
[[noreturn]] void saveAfterAHalfDoneUndo(const QString& folder, qint64 fullAt, int done) {
    history::History h(folder, kKeepAll);
    store::installSaveRecorder(&h);
    {
        testsupport::FileSizeLimit full{rlim_t(fullAt)};
        if (h.undo().done)
            _exit(3);
    }
    tellParent(done);
    store::RecordingSink sink;
    if (!tasks().save(folder, beanTasks(), sink, nullptr))
        _exit(3);
    tellParent(done);
    for (;;)
        pause();
}

} // namespace

class CrashDuringSaveTest : public QObject {
    Q_OBJECT
private slots:
    void fileIsAlwaysOneCompleteSaveAfterAKill();
    void historyHoldsEveryFinishedChangeAfterAKill();
    void undoAndRedoAreAllOrNothingAfterAKill();
    void restoreIsAllOrNothingAfterAKill();
    void firstSaveAfterAHalfDoneUndoLosesNothingAfterAKill();
};

void CrashDuringSaveTest::fileIsAlwaysOneCompleteSaveAfterAKill() {
    const QList<Kind>& all = kinds();
    QList<std::shared_ptr<QTemporaryDir>> dirs;
    QList<int> state;
    for (const Kind& kind : all) {
        dirs << std::make_shared<QTemporaryDir>();
        state << 3;
        store::RecordingSink sink;
        QVERIFY(kind.save(folderOf(dirs.last()->path()), kind.sample(3), sink, nullptr));
    }

    std::mt19937 random(20240610);
    int leftovers = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const int k = kill % int(all.size());
        const Kind& kind = all[k];
        const QString folder = folderOf(dirs[k]->path());
        killAtRandom(random, 10000, [&](int done) { saveForever(kind, folder, state[k] + 1, done); });
        if (QTest::currentTestFailed())
            return;

        const int n = recordsIn(kind, folder);
        const QByteArray bytes = readBytes(folder + kind.fileName);
        QVERIFY2(n >= 0,
                 qPrintable(kind.id + ": the file does not load after kill " + QString::number(kill)));
        QVERIFY2(bytes == bytesOfState(kind, n),
                 qPrintable(kind.id + ": not a complete save after kill " + QString::number(kill)));
        state[k] = n;

        const QStringList entries =
            QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        if (entries != QStringList{kind.fileName}) {
            ++leftovers;
            qInfo() << kind.id << "left after kill" << kill << entries;
        }
        // The program's next save must clear whatever the killed one left.
        store::RecordingSink sink;
        QVERIFY(kind.save(folder, kind.sample(n), sink, nullptr));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{kind.fileName});
        QCOMPARE(readBytes(folder + kind.fileName), bytes);
    }
    qInfo() << kKills << "kills," << leftovers << "left something beside the file";
}

// Commands that each save two files, killed at random: at the next start the
// history is readable and describes the files as they are (a command cut
// short after both its files is undone then), and the latest finished change
// still undoes to the versions it kept, and redoes.
void CrashDuringSaveTest::historyHoldsEveryFinishedChangeAfterAKill() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir.path());
    std::mt19937 random(20261209);
    int n = 3;
    int partial = 0;
    int undoneAtStart = 0;
    for (int kill = 0; kill < kHistoryKills; ++kill) {
        killAtRandom(random, 6000, [&](int done) { saveChangesForever(folder, n, done); });
        if (QTest::currentTestFailed())
            return;
        history::History h(folder, kKeepAll);
        QVERIFY2(!h.changes().isEmpty(), "the history does not read");
        for (const Kind* kind : {&tasks(), &purchases()}) {
            const QString wrong = historyMatchesDisk(h, *kind, folder);
            QVERIFY2(wrong.isEmpty(), qPrintable(wrong + QStringLiteral(" after kill %1").arg(kill)));
        }
        const history::Change last = h.changes().last();
        partial += last.kind == history::ChangeKind::Command && last.files.size() == 1 ? 1 : 0;
        undoneAtStart += h.recoveryNotes().isEmpty() ? 0 : 1;
        // The latest finished command still undoes to the versions it kept, and redoes.
        const history::Change* latest = h.find(h.undoState().nextUndo());
        QVERIFY(latest);
        const QList<history::FileChange> files = latest->files;
        QMap<QString, QByteArray> now;
        for (const history::FileChange& f : files)
            now.insert(f.file, readBytes(folder + f.file));
        store::installSaveRecorder(&h);
        QVERIFY(h.undo().done);
        for (const history::FileChange& f : files)
            QVERIFY2(f.existedBefore ? readBytes(folder + f.file) == keptBytes(folder, f)
                                     : !QFile::exists(folder + f.file),
                     qPrintable(f.file + QStringLiteral(" after kill %1").arg(kill)));
        QVERIFY(h.redo().done);
        store::installSaveRecorder(nullptr);
        for (const history::FileChange& f : files)
            QCOMPARE(readBytes(folder + f.file), now.value(f.file));
        n = recordsIn(tasks(), folder) % kLongestList + 1;
    }
    qInfo() << kHistoryKills << "kills;" << partial << "cut a command after its first file, kept;"
            << undoneAtStart << "after its second, undone at the next start";
}

// Undo and redo of a change of two files, killed at random: both files are
// always the versions before the change or both those after it, and the next
// start knows which.
void CrashDuringSaveTest::undoAndRedoAreAllOrNothingAfterAKill() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir.path());
    store::RecordingSink sink;
    QVERIFY(tasks().save(folder, tasks().sample(40), sink, nullptr));
    QVERIFY(purchases().save(folder, purchases().sample(40), sink, nullptr));
    const QByteArray tasksOld = readBytes(folder + tasks().fileName);
    const QByteArray purchasesOld = readBytes(folder + purchases().fileName);
    int changeId = 0;
    {
        history::History h(folder, kKeepAll);
        store::installSaveRecorder(&h);
        saveBoth(h, folder, 90);
        store::installSaveRecorder(nullptr);
        changeId = h.changes().last().id;
    }
    const QByteArray tasksNew = readBytes(folder + tasks().fileName);
    const QByteArray purchasesNew = readBytes(folder + purchases().fileName);

    std::mt19937 random(20261210);
    int undone = 0;
    for (int kill = 0; kill < kHistoryKills; ++kill) {
        killAtRandom(random, 6000, [&](int done) { undoAndRedoForever(folder, done); });
        if (QTest::currentTestFailed())
            return;
        history::History h(folder, kKeepAll);
        const QByteArray t = readBytes(folder + tasks().fileName);
        const QByteArray p = readBytes(folder + purchases().fileName);
        const bool old = t == tasksOld && p == purchasesOld;
        QVERIFY2(old || (t == tasksNew && p == purchasesNew),
                 qPrintable(QStringLiteral("files of two versions after kill %1").arg(kill)));
        QCOMPARE(h.undoState().nextUndo(), old ? 0 : changeId);
        QCOMPARE(h.undoState().nextRedo(), old ? changeId : 0);
        undone += old ? 1 : 0;
    }
    qInfo() << kHistoryKills << "kills;" << undone << "found the change undone";
}

// Restore to before the first of two changes, and its undo, killed at random:
// both files are always as before the first change or as after the second.
void CrashDuringSaveTest::restoreIsAllOrNothingAfterAKill() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir.path());
    store::RecordingSink sink;
    QVERIFY(tasks().save(folder, tasks().sample(40), sink, nullptr));
    QVERIFY(purchases().save(folder, purchases().sample(40), sink, nullptr));
    const QByteArray tasksOld = readBytes(folder + tasks().fileName);
    const QByteArray purchasesOld = readBytes(folder + purchases().fileName);
    history::ChangeId first = 0;
    {
        history::History h(folder, kKeepAll);
        store::installSaveRecorder(&h);
        saveBoth(h, folder, 90);
        saveBoth(h, folder, 95);
        store::installSaveRecorder(nullptr);
        first = h.changes().first().id;
    }
    const QByteArray tasksNew = readBytes(folder + tasks().fileName);
    const QByteArray purchasesNew = readBytes(folder + purchases().fileName);

    std::mt19937 random(20261211);
    int restored = 0;
    for (int kill = 0; kill < kHistoryKills; ++kill) {
        killAtRandom(random, 6000, [&](int done) { restoreAndUndoForever(folder, first, done); });
        if (QTest::currentTestFailed())
            return;
        history::History h(folder, kKeepAll);
        const QByteArray t = readBytes(folder + tasks().fileName);
        const QByteArray p = readBytes(folder + purchases().fileName);
        const bool old = t == tasksOld && p == purchasesOld;
        QVERIFY2(old || (t == tasksNew && p == purchasesNew),
                 qPrintable(QStringLiteral("files of two versions after kill %1").arg(kill)));
        const history::Change* latest = h.find(h.undoState().nextUndo());
        QVERIFY(latest);
        QCOMPARE(latest->kind == history::ChangeKind::Restore, old);
        restored += old ? 1 : 0;
    }
    qInfo() << kHistoryKills << "kills;" << restored << "found the folder restored";
}

// The first save after an undo left half done, killed at random, also while it
// sets the undo right: at the next start the schedule holds the save or the
// version the command left, never the half-done undo's; the purchases are
// untouched; and whichever it holds, undo steps back through every version.
void CrashDuringSaveTest::firstSaveAfterAHalfDoneUndoLosesNothingAfterAKill() {
    QTemporaryDir dir;
    const QString pristine = folderOf(dir.path() + QStringLiteral("/pristine"));
    QDir().mkpath(pristine);
    store::RecordingSink sink;
    QVERIFY(tasks().save(pristine, tasks().sample(3), sink, nullptr));
    QVERIFY(purchases().save(pristine, purchases().sample(1500), sink, nullptr));
    const QByteArray tasksBefore = readBytes(pristine + tasks().fileName);
    const QByteArray purchasesBefore = readBytes(pristine + purchases().fileName);
    {
        history::History h(pristine, kKeepAll);
        store::installSaveRecorder(&h);
        {
            const history::CommandScope change(&h, QStringLiteral("両方"));
            QVERIFY(tasks().save(pristine, tasks().sample(1500), sink, nullptr));
            QVERIFY(purchases().save(pristine, purchases().sample(3), sink, nullptr));
        }
        store::installSaveRecorder(nullptr);
    }
    const QByteArray tasksAfter = readBytes(pristine + tasks().fileName);
    const QByteArray purchasesAfter = readBytes(pristine + purchases().fileName);
    const qint64 fullAt = std::min(tasksAfter.size(), purchasesBefore.size()) / 2;
    QVERIFY(fullAt > std::max(tasksBefore.size(), purchasesAfter.size()) + 4096);
    QTemporaryDir scratch;
    store::RecordingSink beanSink;
    QVERIFY(tasks().save(folderOf(scratch.path()), beanTasks(), beanSink, nullptr));
    const QByteArray bean = readBytes(folderOf(scratch.path()) + tasks().fileName);

    std::mt19937 random(20261212);
    int saved = 0;
    int settledAtStart = 0;
    const QString folder = folderOf(dir.path() + QStringLiteral("/work"));
    for (int kill = 0; kill < kHistoryKills; ++kill) {
        QVERIFY(QDir(folder).removeRecursively() || !QFileInfo::exists(folder));
        QVERIFY(copyTree(pristine, folder));
        int reports = 0;
        killAtRandom(
            random, 40000, [&](int done) { saveAfterAHalfDoneUndo(folder, fullAt, done); }, &reports);
        if (QTest::currentTestFailed())
            return;
        const QString after = QStringLiteral(" after kill %1").arg(kill);
        history::History h(folder, kKeepAll);
        const QByteArray t = readBytes(folder + tasks().fileName);
        QCOMPARE(readBytes(folder + purchases().fileName), purchasesAfter);
        QVERIFY2(t == bean || t == tasksAfter, qPrintable(QStringLiteral("the schedule is neither") + after));
        QVERIFY2(reports < 2 || t == bean, qPrintable(QStringLiteral("the save was lost") + after));
        store::installSaveRecorder(&h);
        QVERIFY2(h.undo().done, qPrintable(QStringLiteral("no undo") + after));
        if (t == bean) {
            QCOMPARE(readBytes(folder + tasks().fileName), tasksAfter);
            QVERIFY(h.undo().done);
        }
        store::installSaveRecorder(nullptr);
        QCOMPARE(readBytes(folder + tasks().fileName), tasksBefore);
        QCOMPARE(readBytes(folder + purchases().fileName), purchasesBefore);
        saved += t == bean ? 1 : 0;
        settledAtStart += h.recoveryNotes().isEmpty() ? 0 : 1;
    }
    qInfo() << kHistoryKills << "kills;" << settledAtStart
            << "found the undo still half done, set right at the start;" << saved << "found the save made";
}

QTEST_GUILESS_MAIN(CrashDuringSaveTest)
#include "crash_during_save_test.moc"
