#include "history_support.h"

#include "crops/crop_records.h"
#include "favourites/favourite_records.h"
#include "file_kinds.h"
#include "history/change_text.h"
#include "history/command_scope.h"
#include "history/record_counts.h"
#include "plans/plan_records.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"
#include "support/files.h"

#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using history::Change;
using history::ChangeKind;
using history::FileChange;
using historytest::purchasesIn;
using historytest::Recording;
using historytest::savePurchases;
using historytest::saveTasks;
using testsupport::folderOf;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

ino_t inodeOf(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_ino : 0;
}

const FileChange& only(const Change& change) {
    Q_ASSERT(change.files.size() == 1);
    return change.files.first();
}

// Runs body in a child that a signal is expected to end; gives the signal, or 0.
int killedChild(const std::function<void()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        body();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

// Where the kernel ends the process at the first write past bytes, as a disk
// that fills up in the middle of an undo would not: this is a kill at that moment.
void dieOnWritesPast(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_DFL);
    const rlimit noCore{0, 0};
    setrlimit(RLIMIT_CORE, &noCore);
    const rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
}

} // namespace

class HistoryCoreTest : public QObject {
    Q_OBJECT
private slots:
    void keepsTheReplacedVersionOfEveryKind_data();
    void keepsTheReplacedVersionOfEveryKind();
    void copiesWhereItCannotLink();
    void leavesThePageAndOtherFilesAlone();
    void oneCommandIsOneChangeAcrossFiles();
    void undoRedoAndRestoreBringBackTheBytes();
    void undoOfACreatedFileRemovesIt();
    void unreadableLoadIsAChangeOfItsOwn();
    void keepsAFileChangedBehindItsBackBeforeUndo();
    void prunesByCountAndBySize();
    void failingHistoryLeavesTheSaveAndTellsOnce();
    void keepThatFailsIsToldOnce();
    void failedSaveLeavesNoTrace();
    void interruptedUndoIsRolledBackAtTheNextStart();
    void interruptedUndoIsRolledBackWhenItCannotFinish();
    void commandCutShortIsUndoneAtTheNextStart();
    void recordsCutShortAreNoRecords();
    void largeVersionsArePackedOnceTheChangeIsOver();
};

void HistoryCoreTest::keepsTheReplacedVersionOfEveryKind_data() {
    QTest::addColumn<QString>("id");
    for (const rel::Kind& kind : rel::readableKinds())
        QTest::newRow(qPrintable(kind.id)) << kind.id;
}

// The kept version is the old file itself, no longer the live one, and the
// change counts the records of both without reading either again.
void HistoryCoreTest::keepsTheReplacedVersionOfEveryKind() {
    QFETCH(QString, id);
    const rel::Kind& kind = rel::kind(id);
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    store::RecordingSink sink;
    QVERIFY(kind.save(folder, kind.sample(2), sink, nullptr));
    const QByteArray before = readBytes(folder + kind.fileName);
    const ino_t oldInode = inodeOf(folder + kind.fileName);
    {
        Recording on(folder);
        rel::Records read;
        QVERIFY(kind.load(folder, read, sink));
        QVERIFY(kind.save(folder, kind.sample(5), sink, nullptr));
        QCOMPARE(on.history.changes().size(), 1);
        const Change& change = on.history.changes().first();
        QCOMPARE(change.name, kind.fileName + QStringLiteral(" の保存"));
        const FileChange& f = only(change);
        QCOMPARE(f.file, kind.fileName);
        const QString kept = folder + QStringLiteral("history/kept/") + f.kept;
        QCOMPARE(readBytes(kept), before);
        QCOMPARE(inodeOf(kept), oldInode);
        QVERIFY(inodeOf(folder + kind.fileName) != oldInode);
        QCOMPARE(f.recordsBefore, history::countRecords(kept, kind.fileName));
        QCOMPARE(f.recordsAfter, history::countRecords(folder + kind.fileName, kind.fileName));
        QVERIFY(f.recordsAfter > f.recordsBefore);
    }
    QVERIFY(sink.messages.isEmpty());
}

// A data file kept on another file system through a symbolic link cannot be
// linked into the history: it is copied, and the link stays a link.
void HistoryCoreTest::copiesWhereItCannotLink() {
    QTemporaryDir dir;
    QTemporaryDir elsewhere(QStringLiteral("/dev/shm/aobaroku-XXXXXX"));
    struct stat a {
    }, b{};
    if (!elsewhere.isValid() || ::stat(QFile::encodeName(dir.path()).constData(), &a) != 0 ||
        ::stat(QFile::encodeName(elsewhere.path()).constData(), &b) != 0 || a.st_dev == b.st_dev)
        QSKIP("no second file system to link across");
    const QString folder = folderOf(dir);
    saveTasks(folderOf(elsewhere), 3);
    QVERIFY(QFile::link(elsewhere.filePath(kYoteiFileName), folder + kYoteiFileName));
    const QByteArray before = readBytes(folder + kYoteiFileName);
    Recording on(folder);
    saveTasks(folder, 4);
    const FileChange& f = only(on.history.changes().first());
    QCOMPARE(readBytes(folder + QStringLiteral("history/kept/") + f.kept), before);
    QVERIFY(QFileInfo(folder + kYoteiFileName).isSymLink());
    QVERIFY(!on.history.keepFailed());
}

void HistoryCoreTest::leavesThePageAndOtherFilesAlone() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    QVERIFY(QDir(folder).mkdir(QStringLiteral("other")));
    Recording on(folder);
    TOkiniList favourites;
    favourites.add()->name = QStringLiteral("野菜の会");
    store::RecordingSink sink;
    QVERIFY(favourites.WritePage(folder, QStringLiteral("https://example.org/"), sink));
    QVERIFY(favourites.WritePage(folder, QStringLiteral("https://example.org/"), sink));
    saveTasks(folder + QStringLiteral("other/"), 2);
    saveTasks(folder + QStringLiteral("other/"), 3);
    QVERIFY(on.history.changes().isEmpty());
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("history")));
}

// A crop renamed across the plans: the catalogue and all eight plans, those
// that did not exist included, in one change.
void HistoryCoreTest::oneCommandIsOneChangeAcrossFiles() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    store::RecordingSink sink;
    TGroupList plan;
    TGroup* group = plan.add();
    group->name = QStringLiteral("畝1");
    TSakumotu2* entry = group->add();
    entry->name = QStringLiteral("ナス");
    entry->ichi = 1;
    QVERIFY(plan.SaveToFile(folder, QStringLiteral("春"), PlanFiles()[0].fileName, sink));
    TSakumotuList crops;
    crops.add()->name = QStringLiteral("ナス");
    QVERIFY(crops.SaveToFile(folder, sink));

    Recording on(folder);
    {
        const history::CommandScope change(&on.history, QStringLiteral("作物一覧「変更」"));
        crops.at(0)->name = QStringLiteral("水ナス");
        QVERIFY(crops.SaveToFile(folder, sink));
        QVERIFY(RenameCropInAllPlans(folder, QStringLiteral("ナス"), QStringLiteral("水ナス"), sink));
        QVERIFY(on.history.changes().isEmpty());
    }
    QCOMPARE(on.history.changes().size(), 1);
    const Change change = on.history.changes().first();
    QCOMPARE(change.name, QStringLiteral("作物一覧「変更」"));
    QCOMPARE(change.files.size(), 9);
    QCOMPARE(history::fileText(change, *change.file(kCropFileName)), QStringLiteral("sakumotu.xml 1 → 1"));
    QCOMPARE(history::fileText(change, *change.file(PlanFiles()[0].fileName)),
             QStringLiteral("sakutuke1.xml 1 → 1"));
    QCOMPARE(history::fileText(change, *change.file(PlanFiles()[1].fileName)),
             QStringLiteral("sakutuke2.xml なし → 0"));

    const history::Outcome undone = on.history.undo();
    QVERIFY(undone.done);
    QCOMPARE(undone.files.size(), 9);
    QVERIFY(!QFile::exists(folder + PlanFiles()[1].fileName));
    TGroupList back;
    QVERIFY(back.LoadFromFile(folder, PlanFiles()[0].fileName, sink));
    QCOMPARE(back.at(0)->at(0)->name, QStringLiteral("ナス"));
    QVERIFY(sink.messages.isEmpty());
}

void HistoryCoreTest::undoRedoAndRestoreBringBackTheBytes() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    saveTasks(folder, 1);
    QList<QByteArray> versions{readBytes(folder + kYoteiFileName)};
    Recording on(folder);
    for (int n = 2; n <= 4; ++n) {
        const history::CommandScope change(&on.history, QStringLiteral("予定「追加」"));
        saveTasks(folder, n);
        versions << readBytes(folder + kYoteiFileName);
    }
    const QString path = folder + kYoteiFileName;

    history::Outcome outcome = on.history.undo();
    QVERIFY(outcome.done);
    QCOMPARE(outcome.files, QStringList{kYoteiFileName});
    QVERIFY(outcome.message.startsWith(QStringLiteral("予定「追加」（")));
    QVERIFY(outcome.message.endsWith(QStringLiteral("）を元に戻しました。")));
    QCOMPARE(readBytes(path), versions[2]);
    QVERIFY(on.history.undo().done);
    QCOMPARE(readBytes(path), versions[1]);
    outcome = on.history.redo();
    QVERIFY(outcome.message.endsWith(QStringLiteral("）をやり直しました。")));
    QCOMPARE(readBytes(path), versions[2]);
    QVERIFY(on.history.redo().done);
    QCOMPARE(readBytes(path), versions[3]);
    QCOMPARE(on.history.redo().message, history::kNothingToRedo);

    // A new command after an undo leaves nothing to redo.
    QVERIFY(on.history.undo().done);
    {
        const history::CommandScope change(&on.history, QStringLiteral("予定「削除」"));
        saveTasks(folder, 1, QStringLiteral("u"));
    }
    QCOMPARE(on.history.redo().message, history::kNothingToRedo);

    // Before the very first change, as one new change that can itself be undone.
    const QByteArray latest = readBytes(path);
    const qint64 first = on.history.changes().first().id;
    outcome = on.history.restore(first);
    QVERIFY(outcome.done);
    QCOMPARE(readBytes(path), versions[0]);
    QCOMPARE(on.history.changes().last().kind, ChangeKind::Restore);
    QVERIFY(on.history.undo().done);
    QCOMPARE(readBytes(path), latest);

    // All of it again from the records alone, as the next start reads them.
    history::History reopened(folder);
    QCOMPARE(reopened.changes().size(), on.history.changes().size());
    for (int i = 0; i < reopened.changes().size(); ++i)
        QCOMPARE(history::filesText(reopened.changes()[i]), history::filesText(on.history.changes()[i]));
    QCOMPARE(reopened.undoState().done, on.history.undoState().done);
    QCOMPARE(reopened.undoState().undone, on.history.undoState().undone);
}

void HistoryCoreTest::undoOfACreatedFileRemovesIt() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    Recording on(folder);
    savePurchases(folder, 2);
    QCOMPARE(history::filesText(on.history.changes().first()), QStringLiteral("cost.xml なし → 2"));
    QVERIFY(on.history.undo().done);
    QVERIFY(!QFile::exists(folder + kCostFileName));
    QCOMPARE(history::filesText(on.history.changes().last()), QStringLiteral("cost.xml 2 → なし"));
    QVERIFY(on.history.redo().done);
    QCOMPARE(purchasesIn(folder), 2);
}

// The load that failed is a change of its own, whose kept version is the
// damaged file; reading it again adds nothing, and the copy aside stays as it was.
void HistoryCoreTest::unreadableLoadIsAChangeOfItsOwn() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    const QByteArray damaged = "<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\n<data><yotei name=\"a\"";
    QVERIFY(writeBytes(folder + kYoteiFileName, damaged));
    Recording on(folder);
    store::RecordingSink sink;
    TYoteiList tasks;
    QVERIFY(!tasks.LoadFromFile(folder, sink));
    QVERIFY(!tasks.LoadFromFile(folder, sink));
    QCOMPARE(on.history.changes().size(), 1);
    const Change change = on.history.changes().first();
    QCOMPARE(change.kind, ChangeKind::Unreadable);
    QCOMPARE(change.name, history::kUnreadableChangeName);
    QCOMPARE(readBytes(folder + QStringLiteral("history/kept/") + only(change).kept), damaged);

    saveTasks(folder, 2);
    const QStringList aside = QDir(folder).entryList({QStringLiteral("yotei.xml.unreadable-*")});
    QCOMPARE(aside.size(), 1);
    QCOMPARE(readBytes(folder + aside.first()), damaged);
    // Ctrl+Z takes back the save, which brings the damaged file back too.
    QVERIFY(on.history.undo().done);
    QCOMPARE(readBytes(folder + kYoteiFileName), damaged);
    // From the window, restoring to before the load does the same.
    QVERIFY(on.history.redo().done);
    const history::Outcome restored = on.history.restore(change.id);
    QVERIFY2(restored.done, qPrintable(restored.message));
    QCOMPARE(readBytes(folder + kYoteiFileName), damaged);
}

void HistoryCoreTest::keepsAFileChangedBehindItsBackBeforeUndo() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    saveTasks(folder, 1);
    const QByteArray original = readBytes(folder + kYoteiFileName);
    Recording on(folder);
    saveTasks(folder, 2);
    // The Windows copy on a shared folder writes its own version.
    const QByteArray theirs = original + "<!-- theirs -->";
    QFile::remove(folder + kYoteiFileName);
    QVERIFY(writeBytes(folder + kYoteiFileName, theirs));

    QVERIFY(on.history.undo().done);
    QCOMPARE(readBytes(folder + kYoteiFileName), original);
    const FileChange& f = only(on.history.changes().last());
    QVERIFY(f.external);
    QCOMPARE(readBytes(folder + QStringLiteral("history/kept/") + f.kept), theirs);
    // Redo brings back what was there before the undo: their version.
    QVERIFY(on.history.redo().done);
    QCOMPARE(readBytes(folder + kYoteiFileName), theirs);
}

void HistoryCoreTest::prunesByCountAndBySize() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    saveTasks(folder, 50);
    history::Limits byCount;
    byCount.maxChanges = 5;
    byCount.keepLatest = 2;
    {
        Recording on(folder, byCount);
        for (int i = 0; i < 8; ++i)
            saveTasks(folder, 50, QString::number(i));
        QCOMPARE(on.history.changes().size(), 5);
        QCOMPARE(historytest::keptFiles(folder).size(), 5);
        QCOMPARE(on.history.changes().first().id, 4);
    }
    // Each version weighs about the data file; three of them are allowed, but never fewer than the latest
    // two.
    history::Limits bySize;
    bySize.keepLatest = 2;
    bySize.minBytes = 1;
    bySize.dataFactor = 3;
    QVERIFY(writeBytes(folder + QStringLiteral("history/kept/00000999-yotei.xml"), "left by a kill"));
    Recording on(folder, bySize);
    saveTasks(folder, 50, QStringLiteral("x"));
    QCOMPARE(on.history.changes().size(), 3);
    QCOMPARE(historytest::keptFiles(folder).size(), 3);
    bySize.dataFactor = 1;
    Recording tight(folder, bySize);
    saveTasks(folder, 50, QStringLiteral("y"));
    QCOMPARE(tight.history.changes().size(), 2);
}

// A history folder that is a file: every save still goes through, the file
// stays as it was, and the gardener hears of it once, at the start.
void HistoryCoreTest::failingHistoryLeavesTheSaveAndTellsOnce() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    QVERIFY(writeBytes(folder + QStringLiteral("history"), "not a folder"));
    saveTasks(folder, 1);
    Recording on(folder);
    int told = 0;
    on.history.setKeepFailedReport([&told] { ++told; });
    for (int n = 2; n <= 4; ++n) {
        saveTasks(folder, n);
        TYoteiList tasks;
        store::RecordingSink sink;
        QVERIFY(tasks.LoadFromFile(folder, sink));
        QCOMPARE(tasks.count(), n);
    }
    QCOMPARE(told, 0);
    QCOMPARE(on.history.recoveryNotes().size(), 1);
    QVERIFY(on.history.recoveryNotes().first().startsWith(QStringLiteral(
        "変更履歴のフォルダー（history）か、その中の changes・kept がフォルダーでないため使いません。")));
    QVERIFY(!on.history.inUse());
    const history::Outcome outcome = on.history.undo();
    QVERIFY(!outcome.done);
    QCOMPARE(readBytes(folder + QStringLiteral("history")), QByteArray("not a folder"));
}

// The kept folder cannot take a version (a file stands in for one of its
// names): the save goes through, and the gardener hears once, at the end of the change.
void HistoryCoreTest::keepThatFailsIsToldOnce() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    saveTasks(folder, 1);
    Recording on(folder);
    int told = 0;
    on.history.setKeepFailedReport([&told] { ++told; });
    QVERIFY(QDir(folder).mkpath(QStringLiteral("history/kept/00000001-yotei.xml/in-the-way")));
    QVERIFY(QDir(folder).mkpath(QStringLiteral("history/kept/00000002-yotei.xml/in-the-way")));
    saveTasks(folder, 2);
    saveTasks(folder, 3);
    QCOMPARE(told, 1);
    QVERIFY(on.history.keepFailed());
    QCOMPARE(historytest::taskNames(folder).size(), 3);
}

// A save that fails changed nothing, so the change holds only the saves that worked.
void HistoryCoreTest::failedSaveLeavesNoTrace() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    QVERIFY(QDir(folder).mkdir(kCostFileName));
    saveTasks(folder, 1);
    Recording on(folder);
    {
        const history::CommandScope change(&on.history, QStringLiteral("両方"));
        saveTasks(folder, 2);
        TCostList costs;
        costs.add()->nen = QStringLiteral("2026");
        store::RecordingSink sink;
        QVERIFY(!costs.SaveToFile(folder, sink));
    }
    QCOMPARE(on.history.changes().size(), 1);
    QCOMPARE(history::filesText(on.history.changes().first()), QStringLiteral("yotei.xml 1 → 2"));
    TCostList costs;
    store::RecordingSink sink;
    QVERIFY(!costs.SaveToFile(folder, sink));
    QCOMPARE(on.history.changes().size(), 1);
    QCOMPARE(historytest::keptFiles(folder).size(), 1);
}

// Killed while it wrote the purchases back: the next start takes the
// schedule, already written back, to where the undo found it.
void HistoryCoreTest::interruptedUndoIsRolledBackAtTheNextStart() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    saveTasks(folder, 1);
    savePurchases(folder, 2000);
    const QByteArray costsBefore = readBytes(folder + kCostFileName);
    {
        Recording on(folder);
        const history::CommandScope change(&on.history, QStringLiteral("両方"));
        saveTasks(folder, 2);
        savePurchases(folder, 1);
    }
    const QByteArray tasksAfter = readBytes(folder + kYoteiFileName);
    const QByteArray costsAfter = readBytes(folder + kCostFileName);
    // The schedule is written back, then the purchases' write kills the undo.
    QCOMPARE(killedChild([&] {
                 history::History h(folder);
                 dieOnWritesPast(rlim_t(costsBefore.size() / 2));
                 h.undo();
             }),
             SIGXFSZ);
    QVERIFY(readBytes(folder + kYoteiFileName) != tasksAfter);

    history::History reopened(folder);
    QCOMPARE(readBytes(folder + kYoteiFileName), tasksAfter);
    QCOMPARE(readBytes(folder + kCostFileName), costsAfter);
    QCOMPARE(reopened.changes().size(), 1);
    QCOMPARE(reopened.recoveryNotes(),
             QStringList{QStringLiteral(
                 "前回中断された「元に戻す（両方）」を取り消し、ファイルをその前の状態に戻しました。")});
    QCOMPARE(reopened.undoState().nextUndo(), reopened.changes().first().id);
}

// The version the undo was bringing back has gone since: it is taken back all the same.
void HistoryCoreTest::interruptedUndoIsRolledBackWhenItCannotFinish() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    saveTasks(folder, 1);
    savePurchases(folder, 2000);
    const qint64 bigCosts = QFileInfo(folder + kCostFileName).size();
    {
        Recording on(folder);
        const history::CommandScope change(&on.history, QStringLiteral("両方"));
        saveTasks(folder, 2);
        savePurchases(folder, 1);
    }
    const QByteArray tasksAfter = readBytes(folder + kYoteiFileName);
    const QByteArray costsAfter = readBytes(folder + kCostFileName);
    const Change done = history::History(folder).changes().first();
    QCOMPARE(killedChild([&] {
                 history::History h(folder);
                 dieOnWritesPast(rlim_t(bigCosts / 2));
                 h.undo();
             }),
             SIGXFSZ);
    QVERIFY(QFile::remove(folder + QStringLiteral("history/kept/") + done.file(kCostFileName)->kept));
    QVERIFY(QFile::remove(folder + QStringLiteral("history/kept/") + done.file(kYoteiFileName)->kept));

    history::History reopened(folder);
    QCOMPARE(readBytes(folder + kYoteiFileName), tasksAfter);
    QCOMPARE(readBytes(folder + kCostFileName), costsAfter);
    QCOMPARE(reopened.changes().size(), 1);
    QVERIFY(reopened.recoveryNotes().first().contains(QStringLiteral("を取り消し、")));
}

// Killed while writing its third file: the two it wrote go back, so the files
// are all as before the command, and redo brings back what it had written.
void HistoryCoreTest::commandCutShortIsUndoneAtTheNextStart() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    saveTasks(folder, 1);
    const QByteArray tasksBefore = readBytes(folder + kYoteiFileName);
    QCOMPARE(killedChild([&] {
                 Recording on(folder);
                 const history::CommandScope change(&on.history, QStringLiteral("三つ"));
                 saveTasks(folder, 2);
                 const QByteArray written = readBytes(folder + kYoteiFileName);
                 savePurchases(folder, 1);
                 dieOnWritesPast(rlim_t(written.size()));
                 savePurchases(folder, 3000);
             }),
             SIGXFSZ);
    QVERIFY(QFile::exists(folder + kCostFileName));

    Recording on(folder);
    QCOMPARE(readBytes(folder + kYoteiFileName), tasksBefore);
    QVERIFY(!QFile::exists(folder + kCostFileName));
    QCOMPARE(on.history.recoveryNotes(),
             QStringList{QStringLiteral("前回「三つ」の途中で終了したため、その変更を元に戻しました。")});
    QVERIFY(on.history.redo().done);
    QCOMPARE(purchasesIn(folder), 1);
}

void HistoryCoreTest::recordsCutShortAreNoRecords() {
    Change change;
    change.id = 7;
    change.time = QDateTime(QDate(2026, 12, 9), QTime(12, 41));
    change.name = QStringLiteral("予定「完了にする」");
    FileChange f;
    f.file = kYoteiFileName;
    f.existedBefore = true;
    f.kept = QStringLiteral("00000007-yotei.xml");
    f.keptBytes = 120;
    f.recordsBefore = 404;
    f.recordsAfter = 404;
    f.after = history::FileIdentity::fromText(QStringLiteral("2049:77:120:1765281665123456789"));
    change.files << f;
    const QByteArray bytes = history::serialize(change);
    const std::optional<Change> read = history::parseChange(bytes);
    QVERIFY(read);
    QCOMPARE(history::filesText(*read), QStringLiteral("yotei.xml 404 → 404"));
    QCOMPARE(read->name, change.name);
    QCOMPARE(read->time, change.time);
    for (qsizetype cut = 0; cut < bytes.size(); ++cut)
        QVERIFY2(!history::parseChange(bytes.left(cut)), qPrintable(QString::number(cut)));
}

// Versions from packFrom bytes on are stored packed after their change; undo,
// redo and restore bring back the very bytes, and a packed version cut short
// is never written back.
void HistoryCoreTest::largeVersionsArePackedOnceTheChangeIsOver() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    const QString path = folder + kYoteiFileName;
    saveTasks(folder, 400, QStringLiteral("a"));
    QList<QByteArray> versions{readBytes(path)};
    history::Limits packAll;
    packAll.packFrom = 1024;
    {
        Recording on(folder, packAll);
        for (const char* tag : {"b", "c"}) {
            saveTasks(folder, 400, QString::fromLatin1(tag));
            versions << readBytes(path);
        }
        saveTasks(folder, 2, QStringLiteral("small"));
        versions << readBytes(path);
        for (const Change& change : on.history.changes()) {
            const FileChange& f = only(change);
            const QByteArray stored = readBytes(folder + QStringLiteral("history/kept/") + f.kept);
            QVERIFY(f.keptBytes >= packAll.packFrom);
            QVERIFY(stored.startsWith("aobaroku-packed-1\n"));
            QVERIFY(stored.size() * 5 < f.keptBytes);
        }
        QVERIFY(on.history.undo().done);
        QCOMPARE(readBytes(path), versions[2]);
        QVERIFY(on.history.undo().done);
        QCOMPARE(readBytes(path), versions[1]);
        QVERIFY(on.history.redo().done);
        QCOMPARE(readBytes(path), versions[2]);
        QVERIFY(on.history.restore(on.history.changes().first().id).done);
        QCOMPARE(readBytes(path), versions[0]);
    }
    // A kill while packing leaves its scratch file beside the version: the next start clears it.
    const QString kept = history::History(folder).changes().first().files.first().kept;
    QVERIFY(writeBytes(folder + QStringLiteral("history/kept/") + kept + QStringLiteral(".packing"), "cut"));
    QVERIFY(writeBytes(folder + QStringLiteral("history/kept/notes.packing"), "mine"));
    Recording on(folder, packAll);
    QVERIFY(!QFile::exists(folder + QStringLiteral("history/kept/") + kept + QStringLiteral(".packing")));
    QVERIFY(QFile::exists(folder + QStringLiteral("history/kept/notes.packing")));
    QVERIFY(on.history.undo().done); // the restore
    QCOMPARE(readBytes(path), versions[2]);
    const QString packedPath = folder + QStringLiteral("history/kept/") + kept;
    const QByteArray packed = readBytes(packedPath);
    QVERIFY(QFile::remove(packedPath));
    QVERIFY(writeBytes(packedPath, packed.left(packed.size() - 40)));
    const history::Outcome refused = on.history.restore(on.history.changes().first().id);
    QVERIFY(!refused.done);
    QVERIFY2(refused.message.contains(
                 QStringLiteral("保存してある yotei.xml の版が見つからないか、読み込めません。")),
             qPrintable(refused.message));
    QCOMPARE(readBytes(path), versions[2]);
}

QTEST_GUILESS_MAIN(HistoryCoreTest)
#include "history_core_test.moc"
