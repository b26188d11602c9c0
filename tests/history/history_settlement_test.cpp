#include "history_support.h"

#include "history/change_text.h"
#include "history/command_scope.h"
#include "store/messages.h"
#include "support/file_size_limit.h"
#include "support/files.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using history::Change;
using history::ChangeKind;
using historytest::keptPath;
using historytest::purchasesIn;
using historytest::Recording;
using historytest::savePurchases;
using historytest::saveTasks;
using historytest::taskNames;
using testsupport::folderOf;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

const QString kSaveFailed = QString::fromUtf8(msg::SaveFailed);
const QString kTooLarge = QStringLiteral("ファイルが大きすぎて書き込めません。");

// One command, 両方, that makes the schedule large and the purchases small;
// its undo has to write the large purchases back after the small schedule.
struct TwoFiles {
    QString folder;
    QByteArray tasksBefore, costsBefore, tasksAfter, costsAfter;
    qint64 limit = 0; // between every small file and every large one

    void make(const QString& f) {
        folder = f;
        QVERIFY(saveTasks(folder, 3, QStringLiteral("a")));
        QVERIFY(savePurchases(folder, 2000));
        tasksBefore = readBytes(folder + kYoteiFileName);
        costsBefore = readBytes(folder + kCostFileName);
    }
    void change(history::History& h) {
        const history::CommandScope scope(&h, QStringLiteral("両方"));
        QVERIFY(saveTasks(folder, 2000, QStringLiteral("b")));
        QVERIFY(savePurchases(folder, 1));
        tasksAfter = readBytes(folder + kYoteiFileName);
        costsAfter = readBytes(folder + kCostFileName);
        limit = std::min(tasksAfter.size(), costsBefore.size()) / 2;
        QVERIFY(limit > std::max(tasksBefore.size(), costsAfter.size()) + 4096);
    }
};

void corrupt(const QString& path, const QString& how) {
    QByteArray bytes = readBytes(path);
    if (how == QLatin1String("truncated")) {
        bytes.truncate(bytes.size() / 2);
    } else if (how == QLatin1String("garbled")) {
        for (qsizetype i = bytes.size() / 3; i < bytes.size() / 3 + 16; ++i)
            bytes[i] = char(bytes[i] ^ 0x5a);
    } else if (how == QLatin1String("empty")) {
        bytes.clear();
    }
    QVERIFY(QFile::remove(path));
    if (how == QLatin1String("a folder"))
        QVERIFY(QDir().mkdir(path));
    else if (how != QLatin1String("missing"))
        QVERIFY(writeBytes(path, bytes));
}

// The record of change id as written, with every checksum line taken out, as
// records were before they had one.
void dropChecksums(const QString& folder, qint64 id) {
    const QString path =
        folder + QStringLiteral("history/changes/%1.change").arg(id, 8, 10, QLatin1Char('0'));
    QByteArray record = readBytes(path);
    QVERIFY(record.contains("\nhash "));
    QList<QByteArray> lines = record.split('\n');
    lines.removeIf([](const QByteArray& line) { return line.startsWith("hash "); });
    QVERIFY(writeBytes(path, lines.join('\n')));
}

} // namespace

// An undo, redo or restore that stops half way is settled before anything
// else is saved, never at a later start over what was saved since; a version
// it would write is checked before anything is written.
class HistorySettlementTest : public QObject {
    Q_OBJECT
private slots:
    void undoStoppedHalfWayIsTakenBackAtOnce();
    void undoThatCannotBeTakenBackHoldsItsFilesUntilItIs();
    void interruptedUndoIsRolledBackAtTheNextStart();
    void interruptedUndoIsFinishedWhenItsOwnVersionsAreGone();
    void damagedVersionIsNeverWritten_data();
    void damagedVersionIsNeverWritten();
    void recordWithoutChecksumIsCheckedByLoading();
    void restoringARestoreNamesItOnce();
};

// The purchases cannot be written back; the schedule, already written back, is
// set as it was at once, and the gardener hears why.
void HistorySettlementTest::undoStoppedHalfWayIsTakenBackAtOnce() {
    QTemporaryDir dir;
    TwoFiles files;
    files.make(folderOf(dir));
    Recording on(files.folder);
    files.change(on.history);
    history::Outcome outcome;
    {
        // Large enough for the small schedule and its way back, not for the old purchases.
        testsupport::FileSizeLimit full(rlim_t(files.costsBefore.size() - 1));
        outcome = on.history.undo();
    }
    QVERIFY(!outcome.done);
    QVERIFY2(QRegularExpression(QStringLiteral("^両方（\\d\\d:\\d\\d）を元に戻せませんでした。") + kTooLarge +
                                QStringLiteral("ファイルは変わっていません。$"))
                 .match(outcome.message)
                 .hasMatch(),
             qPrintable(outcome.message));
    QCOMPARE(readBytes(files.folder + kYoteiFileName), files.tasksAfter);
    QCOMPARE(readBytes(files.folder + kCostFileName), files.costsAfter);
    QCOMPARE(on.history.changes().size(), 1);
    QVERIFY(on.history.undo().done);
    QCOMPARE(readBytes(files.folder + kCostFileName), files.costsBefore);
}

// Neither the rest of the undo nor the way back fits: the schedule stays
// written back, and takes no save until it can be set right; once it can, the
// next save sets it right first. Whatever a save reported as saved is there
// after the next start, and every version is in the history.
void HistorySettlementTest::undoThatCannotBeTakenBackHoldsItsFilesUntilItIs() {
    QTemporaryDir dir;
    TwoFiles files;
    files.make(folderOf(dir));
    const QString folder = files.folder;
    QByteArray lastSaved;
    bool purchasesSaved = false;
    bool undoneAgain = false;
    QStringList said;
    QStringList reloads;
    {
        Recording on(folder);
        on.history.setReloadRequest([&reloads](const QStringList& f) { reloads << f; });
        files.change(on.history);
        {
            testsupport::FileSizeLimit full(rlim_t(files.limit));
            const history::Outcome outcome = on.history.undo();
            QVERIFY(!outcome.done);
            said << outcome.message;
            QCOMPARE(outcome.files, QStringList{kYoteiFileName});
            QCOMPARE(readBytes(folder + kYoteiFileName), files.tasksBefore);
            QCOMPARE(readBytes(folder + kCostFileName), files.costsAfter);

            // The gardener adds ソラマメ to the schedule the window now shows.
            store::RecordingSink sink;
            if (saveTasks(folder, 3, QStringLiteral("ソラマメ"), sink))
                lastSaved = readBytes(folder + kYoteiFileName);
            said << sink.messages;
            QCOMPARE(reloads, QStringList{kYoteiFileName});
            store::RecordingSink purchases;
            purchasesSaved = savePurchases(folder, 5, purchases);
            const history::Outcome again = on.history.undo();
            undoneAgain = again.done;
            said << again.message;
        }
        // Room again: the save sets the schedule right, then saves.
        reloads.clear();
        QVERIFY(saveTasks(folder, 3, QStringLiteral("ソラマメ")));
        lastSaved = readBytes(folder + kYoteiFileName);
        QCOMPARE(taskNames(folder).first(), QStringLiteral("ソラマメ0"));
        QVERIFY(reloads.contains(kYoteiFileName));
    }
    Recording next(folder);
    QCOMPARE(readBytes(folder + kYoteiFileName), lastSaved);
    QCOMPARE(readBytes(folder + kCostFileName), files.costsAfter);
    QCOMPARE(next.history.recoveryNotes(), QStringList());
    // What the save replaced is the schedule as the command left it, and the command still undoes.
    QVERIFY(next.history.undo().done);
    QCOMPARE(readBytes(folder + kYoteiFileName), files.tasksAfter);
    QVERIFY(next.history.undo().done);
    QCOMPARE(readBytes(folder + kYoteiFileName), files.tasksBefore);
    QCOMPARE(readBytes(folder + kCostFileName), files.costsBefore);

    QVERIFY(!purchasesSaved);
    QVERIFY(!undoneAgain);
    QCOMPARE(said.size(), 3);
    QVERIFY2(QRegularExpression(
                 QStringLiteral("^両方（\\d\\d:\\d\\d）を元に戻せませんでした。") + kTooLarge +
                 QStringLiteral("途中まで書き戻したファイル（yotei.xml）も元の状態に戻せませんでした。"))
                 .match(said[0])
                 .hasMatch(),
             qPrintable(said[0]));
    QCOMPARE(said[1], kSaveFailed +
                          QStringLiteral("\n「元に戻す（両方）」が途中で止まったままのため、"
                                         "このファイルには保存できません。") +
                          kTooLarge);
    QVERIFY2(said[2].contains(QStringLiteral("「元に戻す（両方）」が途中で止まったままです。") + kTooLarge +
                              QStringLiteral("ファイルは変わっていません。")),
             qPrintable(said[2]));
}

// The run that could not settle the undo ended: the next start sets it back.
void HistorySettlementTest::interruptedUndoIsRolledBackAtTheNextStart() {
    QTemporaryDir dir;
    TwoFiles files;
    files.make(folderOf(dir));
    {
        Recording on(files.folder);
        files.change(on.history);
        testsupport::FileSizeLimit full(rlim_t(files.limit));
        QVERIFY(!on.history.undo().done);
    }
    Recording next(files.folder);
    QCOMPARE(readBytes(files.folder + kYoteiFileName), files.tasksAfter);
    QCOMPARE(readBytes(files.folder + kCostFileName), files.costsAfter);
    QCOMPARE(next.history.recoveryNotes(),
             QStringList{QStringLiteral(
                 "前回中断された「元に戻す（両方）」を取り消し、ファイルをその前の状態に戻しました。")});
    QCOMPARE(next.history.changes().size(), 1);
    QVERIFY(next.history.undo().done);
    QCOMPARE(readBytes(files.folder + kCostFileName), files.costsBefore);
}

// The versions the undo kept of the files it replaced are gone: it can only
// be finished, with the versions it was bringing back.
void HistorySettlementTest::interruptedUndoIsFinishedWhenItsOwnVersionsAreGone() {
    QTemporaryDir dir;
    TwoFiles files;
    files.make(folderOf(dir));
    {
        Recording on(files.folder);
        files.change(on.history);
        testsupport::FileSizeLimit full(rlim_t(files.limit));
        QVERIFY(!on.history.undo().done);
    }
    for (const QString& kept : historytest::keptFiles(files.folder))
        if (kept.startsWith(QStringLiteral("00000002-")))
            QVERIFY(QFile::remove(keptPath(files.folder, kept)));
    Recording next(files.folder);
    QCOMPARE(readBytes(files.folder + kYoteiFileName), files.tasksBefore);
    QCOMPARE(readBytes(files.folder + kCostFileName), files.costsBefore);
    QCOMPARE(next.history.recoveryNotes(),
             QStringList{QStringLiteral("前回中断された「元に戻す（両方）」を最後まで行いました。")});
    QCOMPARE(next.history.changes().last().kind, ChangeKind::Undo);
}

void HistorySettlementTest::damagedVersionIsNeverWritten_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("why");
    QTest::newRow("truncated") << "truncated"
                               << "大きさが記録と違います";
    QTest::newRow("garbled") << "garbled"
                             << "内容が記録と違います";
    QTest::newRow("empty") << "empty"
                           << "大きさが記録と違います";
    QTest::newRow("missing") << "missing"
                             << "";
    QTest::newRow("a folder") << "a folder"
                              << "";
}

// Ctrl+Z with the kept purchases damaged: nothing is written, and the message
// names the change and says why.
void HistorySettlementTest::damagedVersionIsNeverWritten() {
    QFETCH(QString, how);
    QFETCH(QString, why);
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    QVERIFY(savePurchases(folder, 3));
    Recording on(folder);
    {
        const history::CommandScope scope(&on.history, QStringLiteral("購入履歴「追加」"));
        QVERIFY(savePurchases(folder, 4));
    }
    const QByteArray now = readBytes(folder + kCostFileName);
    corrupt(keptPath(folder, on.history.changes().first().files.first().kept), how);
    const QStringList kept = historytest::keptFiles(folder);

    const history::Outcome outcome = on.history.undo();
    QVERIFY(!outcome.done);
    const QString expected =
        why.isEmpty()
            ? QStringLiteral("保存してある cost.xml の版が見つからないか、読み込めません。")
            : QStringLiteral("保存してある cost.xml の版が壊れています（") + why + QStringLiteral("）。");
    QVERIFY2(QRegularExpression(QStringLiteral("^購入履歴「追加」（\\d\\d:\\d\\d）を元に戻せませんでした。") +
                                QRegularExpression::escape(expected) +
                                QStringLiteral("ファイルは変わっていません。$"))
                 .match(outcome.message)
                 .hasMatch(),
             qPrintable(outcome.message));
    QVERIFY(outcome.files.isEmpty());
    QCOMPARE(readBytes(folder + kCostFileName), now);
    QCOMPARE(on.history.changes().size(), 1);
    QCOMPARE(historytest::keptFiles(folder), kept);
}

// Records from before the checksum: the version must load and hold the records counted.
void HistorySettlementTest::recordWithoutChecksumIsCheckedByLoading() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    QVERIFY(saveTasks(folder, 3, QStringLiteral("a")));
    const QByteArray original = readBytes(folder + kYoteiFileName);
    qint64 id = 0;
    QString kept;
    {
        Recording on(folder);
        QVERIFY(saveTasks(folder, 4, QStringLiteral("b")));
        QVERIFY(saveTasks(folder, 5, QStringLiteral("c")));
        id = on.history.changes().first().id;
        kept = on.history.changes().first().files.first().kept;
        QVERIFY(!on.history.changes().first().files.first().keptHash.isEmpty());
    }
    dropChecksums(folder, id);
    dropChecksums(folder, id + 1);
    Recording on(folder);
    QVERIFY(on.history.changes().first().files.first().keptHash.isEmpty());
    QVERIFY(on.history.undo().done);
    // The oldest version, its end garbled in place: of the same size, it no longer loads.
    QByteArray garbled = original;
    garbled.replace("</data>", "<!data>");
    QCOMPARE(garbled.size(), original.size());
    QVERIFY(QFile::remove(keptPath(folder, kept)));
    QVERIFY(writeBytes(keptPath(folder, kept), garbled));
    const history::Outcome outcome = on.history.undo();
    QVERIFY(!outcome.done);
    QVERIFY2(outcome.message.contains(
                 QStringLiteral("保存してある yotei.xml の版が壊れています（データとして読み込めません）。")),
             qPrintable(outcome.message));
    QCOMPARE(taskNames(folder).size(), 4);
}

// 戻す on a restore names the new change by the time it goes back to, once.
void HistorySettlementTest::restoringARestoreNamesItOnce() {
    QTemporaryDir dir;
    const QString folder = folderOf(dir);
    QVERIFY(saveTasks(folder, 1));
    Recording on(folder);
    for (int n = 2; n <= 3; ++n) {
        const history::CommandScope scope(&on.history, QStringLiteral("予定「追加」"));
        QVERIFY(saveTasks(folder, n));
    }
    QVERIFY(on.history.restore(on.history.changes().first().id).done);
    const Change first = on.history.changes().last();
    QVERIFY(on.history.restore(first.id).done);
    const Change second = on.history.changes().last();
    QCOMPARE(second.name,
             QStringLiteral("履歴から戻す（") + history::listTime(first.time) + QStringLiteral("）"));
    QVERIFY(on.history.restore(second.id).done);
    QCOMPARE(on.history.changes().last().name.count(QStringLiteral("履歴から戻す")), 1);
    QCOMPARE(taskNames(folder).size(), 1);
}

QTEST_GUILESS_MAIN(HistorySettlementTest)
#include "history_settlement_test.moc"
