#include "history_support.h"

#include "file_kinds.h"
#include "history/change_text.h"
#include "history/command_scope.h"
#include "store/messages.h"
#include "support/file_size_limit.h"
#include "support/files.h"

#include <QTemporaryDir>
#include <QtTest>
#include <ftw.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using historytest::keptFiles;
using historytest::keptPath;
using historytest::Recording;
using historytest::saveTasks;
using historytest::taskNames;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

constexpr uid_t kNobody = 65534;

// A notebook folder received from someone else, with a folder of the
// receiver's own beside it that nothing may touch.
struct Received {
    QTemporaryDir dir;
    QString data;    // <dir>/nb/data/
    QString outside; // <dir>/outside/

    Received() {
        data = dir.path() + QStringLiteral("/nb/data/");
        outside = dir.path() + QStringLiteral("/outside/");
        QDir().mkpath(data);
        QDir().mkpath(outside);
        writeBytes(outside + QStringLiteral("victim.xml"), "the receiver's own file");
        writeBytes(outside + QStringLiteral("victim2.xml"), "another of them");
        writeBytes(outside + QStringLiteral("00000001-yotei.xml"), "named like a kept version");
        saveTasks(data, 3, QStringLiteral("a"));
    }
    QString history(const QString& name = QString()) const {
        return data + QStringLiteral("history/") + name;
    }
};

int chownToNobody(const char* path, const struct stat*, int, FTW*) {
    return ::lchown(path, kNobody, kNobody);
}

// Runs body in a child that permission bits stop: as nobody, owning the
// folder, when the test runs as root, as CI does. Gives the child's exit code.
int asPlainUser(const QString& tree, const std::function<int()>& body) {
    const bool root = ::geteuid() == 0;
    if (root && ::nftw(QFile::encodeName(tree).constData(), chownToNobody, 16, FTW_PHYS) != 0)
        return 100;
    const pid_t child = ::fork();
    if (child == 0) {
        if (root && (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(101);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 102;
}

QString record(qint64 id, const QString& status, const QString& files) {
    return QStringLiteral("aobaroku-history 1\nid %1\nkind command\ntarget 0\ntime 2026-12-09T12:41:00\n"
                          "name 作物一覧「変更」\nstatus %2\n")
               .arg(id)
               .arg(status) +
           files + QStringLiteral("end\n");
}

bool writeRecord(const QString& data, qint64 id, const QString& text) {
    QDir().mkpath(data + QStringLiteral("history/changes"));
    QDir().mkpath(data + QStringLiteral("history/kept"));
    return writeBytes(data + QStringLiteral("history/changes/%1.change").arg(id, 8, 10, QLatin1Char('0')),
                      text.toUtf8());
}

} // namespace

// A notebook folder from someone else: its history can hold links and crafted
// records, junk and damage. The history touches nothing outside the notebook,
// acts on no record it would not have written, and deletes nothing that a
// record it cannot read may need.
class HistorySafetyTest : public QObject {
    Q_OBJECT
private slots:
    void linkedHistoryIsNeverUsed_data();
    void linkedHistoryIsNeverUsed();
    void recordsNamingOtherFilesAreNeverActedOn_data();
    void recordsNamingOtherFilesAreNeverActedOn();
    void onlyItsOwnNamesAreEverDeleted();
    void unreadableRecordKeepsEveryVersionItMayNeed();
    void unlistableRecordsStopTheKeepingAndDeleteNothing();
    void oversizedRecordsAreNeverReadWhole();
    void idsGoOnPastThirtyOneBits();
    void saveMessagesSayWhy();
};

void HistorySafetyTest::linkedHistoryIsNeverUsed_data() {
    QTest::addColumn<QString>("link");   // made a link to the target
    QTest::addColumn<QString>("target"); // relative to the outside folder
    QTest::newRow("history") << ""
                             << "";
    QTest::newRow("kept") << "kept"
                          << "";
    QTest::newRow("changes") << "changes"
                             << "";
    QTest::newRow("a kept version") << "kept/00000001-yotei.xml"
                                    << "victim.xml";
    QTest::newRow("a record") << "changes/00000001.change"
                              << "victim.xml";
}

// Two saves and an undo: the saves go through, the folder linked to is as it
// was, and the gardener hears once why there is no history.
void HistorySafetyTest::linkedHistoryIsNeverUsed() {
    QFETCH(QString, link);
    QFETCH(QString, target);
    Received nb;
    if (!link.isEmpty())
        QVERIFY(QDir().mkpath(nb.history(QStringLiteral("changes"))) &&
                QDir().mkpath(nb.history(QStringLiteral("kept"))));
    const QString linkPath = link.isEmpty() ? nb.data + QStringLiteral("history") : nb.history(link);
    if (QFileInfo(linkPath).isDir())
        QVERIFY(QDir(linkPath).removeRecursively());
    QVERIFY(QFile::link(nb.outside + target, linkPath));
    const auto before = rel::snapshot(nb.outside);

    Recording on(nb.data);
    int told = 0;
    on.history.setKeepFailedReport([&told] { ++told; });
    QVERIFY(saveTasks(nb.data, 4, QStringLiteral("b")));
    QVERIFY(saveTasks(nb.data, 5, QStringLiteral("c")));
    const history::Outcome undone = on.history.undo();
    on.history.prune();

    QCOMPARE(rel::snapshot(nb.outside), before);
    QCOMPARE(taskNames(nb.data).size(), 5);
    QVERIFY(!undone.done);
    QCOMPARE(undone.message, QStringLiteral("変更履歴が使えないため、元に戻すことはできません。"));
    QCOMPARE(on.history.recoveryNotes().size(), 1);
    QVERIFY2(
        on.history.recoveryNotes().first().startsWith(QStringLiteral(
            "変更履歴のフォルダー（history）がリンクになっているか、リンクを含んでいるため使いません。")),
        qPrintable(on.history.recoveryNotes().first()));
    QCOMPARE(told, 0);
    QVERIFY(QFileInfo(linkPath).isSymLink());
}

void HistorySafetyTest::recordsNamingOtherFilesAreNeverActedOn_data() {
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("files"); // the file entries of record 1; OUT is the outside folder
    // From the kept folder, four levels up is the folder beside the notebook.
    QTest::newRow("kept version outside, pruned")
        << "closed"
        << "file yotei.xml\nbefore kept ../../../../outside/victim.xml 23\nrecords 3 3\nafter -\n";
    QTest::newRow("data file outside, undone")
        << "closed"
        << "file ../../outside/created.txt\nbefore kept 00000001-yotei.xml 10\nrecords 1 1\nafter -\n";
    QTest::newRow("open command on outside files, settled at start")
        << "open"
        << "file ../../outside/victim.xml\nbefore none\nrecords 0 1\nafter -\n"
           "file ../../outside/victim2.xml\nbefore none\nrecords 0 1\nafter -\n";
    QTest::newRow("absolute path") << "open"
                                   << "file OUT/victim.xml\nbefore none\nrecords 0 1\nafter -\n"
                                      "file OUT/victim2.xml\nbefore none\nrecords 0 1\nafter -\n";
    QTest::newRow("goal outside, settled at start")
        << "intent"
        << "file yotei.xml\nbefore kept 00000001-yotei.xml 10\nrecords 3 3\nafter -\n"
           "goal ../../../../outside/victim.xml 3\n";
    QTest::newRow("another change's version as its own")
        << "closed"
        << "file yotei.xml\nbefore kept 00000007-yotei.xml 10\nrecords 3 3\nafter -\n";
}

// Each record names something the history would never have made: it is
// reported once as unreadable, and no start, save, prune or undo acts on it.
void HistorySafetyTest::recordsNamingOtherFilesAreNeverActedOn() {
    QFETCH(QString, status);
    QFETCH(QString, files);
    Received nb;
    files.replace(QStringLiteral("OUT/"), nb.outside);
    QVERIFY(writeRecord(nb.data, 1, record(1, status, files)));
    QVERIFY(writeBytes(nb.history(QStringLiteral("kept/00000001-yotei.xml")), "pwned"));
    QVERIFY(writeBytes(nb.history(QStringLiteral("kept/00000007-yotei.xml")), "someone else's"));
    const auto before = rel::snapshot(nb.outside);
    const QByteArray tasks = readBytes(nb.data + kYoteiFileName);

    history::Limits tight;
    tight.maxChanges = 1;
    tight.keepLatest = 0;
    QStringList notes;
    {
        Recording on(nb.data, tight);
        notes = on.history.recoveryNotes();
        QCOMPARE(readBytes(nb.data + kYoteiFileName), tasks);
        QVERIFY(!on.history.undo().done);
        QCOMPARE(readBytes(nb.data + kYoteiFileName), tasks);
        QVERIFY(saveTasks(nb.data, 4, QStringLiteral("b")));
        QVERIFY(saveTasks(nb.data, 5, QStringLiteral("c")));
        const history::Outcome undone = on.history.undo();
        QVERIFY2(undone.done, qPrintable(undone.message));
    }
    QCOMPARE(rel::snapshot(nb.outside), before);
    QCOMPARE(taskNames(nb.data).size(), 4);
    QCOMPARE(readBytes(nb.history(QStringLiteral("kept/00000001-yotei.xml"))), QByteArray("pwned"));
    QCOMPARE(notes,
             QStringList{QStringLiteral("変更履歴のうち、最初の記録を 1 件読み込めませんでした。"
                                        "読み込めなかった変更は履歴に出ず、元に戻すときは飛ばされます。"
                                        "その変更の版は消さずに残します。")});
}

// Junk in the history folders, under names the history never gives, outlives
// every prune; so do versions of other ids' naming.
void HistorySafetyTest::onlyItsOwnNamesAreEverDeleted() {
    Received nb;
    const QStringList keptJunk{"readme.txt", "00000001-notes.txt", "1-yotei.xml", "00000001-yotei.xml.bak",
                               "00000001-OkiniList.html"};
    const QStringList changesJunk{"junk.change", "abc.change.writing", "1.change", "00000002.change.bak"};
    QVERIFY(QDir().mkpath(nb.history(QStringLiteral("changes"))) &&
            QDir().mkpath(nb.history(QStringLiteral("kept"))));
    for (const QString& name : keptJunk)
        QVERIFY(writeBytes(nb.history(QStringLiteral("kept/") + name), "mine"));
    for (const QString& name : changesJunk)
        QVERIFY(writeBytes(nb.history(QStringLiteral("changes/") + name), "mine"));
    QVERIFY(writeBytes(nb.history(QStringLiteral("notes.txt")), "mine"));
    history::Limits tight;
    tight.maxChanges = 2;
    tight.keepLatest = 1;
    {
        Recording on(nb.data, tight);
        for (int n = 4; n < 9; ++n)
            QVERIFY(saveTasks(nb.data, n));
        QCOMPARE(on.history.changes().size(), 2);
    }
    history::History reopened(nb.data, tight);
    for (const QString& name : keptJunk)
        QVERIFY2(QFile::exists(nb.history(QStringLiteral("kept/") + name)), qPrintable(name));
    for (const QString& name : changesJunk)
        QVERIFY2(QFile::exists(nb.history(QStringLiteral("changes/") + name)), qPrintable(name));
    QVERIFY(QFile::exists(nb.history(QStringLiteral("notes.txt"))));
    QCOMPARE(reopened.changes().size(), 2);
}

// A record that no longer reads, here cut short: the versions it kept stay
// through every later save, and the start says from which change on.
void HistorySafetyTest::unreadableRecordKeepsEveryVersionItMayNeed() {
    Received nb;
    history::Limits tight;
    tight.maxChanges = 2;
    tight.keepLatest = 1;
    history::Change first;
    {
        Recording on(nb.data);
        for (int n = 4; n < 7; ++n) {
            const history::CommandScope scope(&on.history, QStringLiteral("予定「追加」"));
            QVERIFY(saveTasks(nb.data, n));
        }
        first = on.history.changes().first();
    }
    const QString second = nb.history(QStringLiteral("changes/00000002.change"));
    QVERIFY(writeBytes(second, readBytes(second).chopped(4)));
    const QStringList kept = keptFiles(nb.data);
    QCOMPARE(kept.size(), 3);

    Recording on(nb.data, tight);
    for (int n = 7; n < 10; ++n)
        QVERIFY(saveTasks(nb.data, n));
    for (const QString& name : kept)
        QVERIFY2(keptFiles(nb.data).contains(name), qPrintable(name));
    QCOMPARE(on.history.recoveryNotes(),
             QStringList{QStringLiteral("変更履歴のうち、") + history::listTime(first.time) +
                         QStringLiteral(" の「予定「追加」」より後の記録を 1 件読み込めませんでした。"
                                        "読み込めなかった変更は履歴に出ず、元に戻すときは飛ばされます。"
                                        "その変更の版は消さずに残します。")});
}

// As a gardener whose records folder cannot be listed: the saves go on, the
// history keeps nothing and deletes nothing, and it all works again once the
// folder can be read.
void HistorySafetyTest::unlistableRecordsStopTheKeepingAndDeleteNothing() {
    Received nb;
    {
        Recording on(nb.data);
        for (int n = 4; n < 7; ++n)
            QVERIFY(saveTasks(nb.data, n));
    }
    const auto history = rel::snapshot(nb.history());
    const QString changes = nb.history(QStringLiteral("changes"));
    QVERIFY(QFile::setPermissions(changes, {}));
    const int result = asPlainUser(nb.dir.path(), [&] {
        Recording on(nb.data);
        for (int n = 7; n < 10; ++n)
            if (!saveTasks(nb.data, n))
                return 2;
        on.history.prune();
        if (on.history.undo().done)
            return 3;
        return on.history.recoveryNotes().size() == 1 && on.history.recoveryNotes().first().contains(
                                                             QStringLiteral("読み込む権限がありません。"))
                   ? 0
                   : 1;
    });
    QVERIFY(QFile::setPermissions(changes, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QCOMPARE(rel::snapshot(nb.history()), history);
    QCOMPARE(taskNames(nb.data).size(), 9);
    QCOMPARE(result, 0);
    Recording on(nb.data);
    QCOMPARE(on.history.changes().size(), 3);
    QVERIFY(on.history.undo().done);
    QCOMPARE(taskNames(nb.data).size(), 5);
}

// Three records of 400 MB each (holes, taking no disk): the start reads none
// of them whole and reports them once.
void HistorySafetyTest::oversizedRecordsAreNeverReadWhole() {
    Received nb;
    {
        Recording on(nb.data);
        QVERIFY(saveTasks(nb.data, 4));
    }
    for (int id = 7; id < 10; ++id) {
        QFile junk(nb.history(QStringLiteral("changes/%1.change").arg(id, 8, 10, QLatin1Char('0'))));
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.resize(400LL * 1024 * 1024));
    }
    const pid_t child = ::fork();
    if (child == 0) {
        history::History h(nb.data);
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        const bool small = usage.ru_maxrss < 200 * 1024; // KB
        ::_exit(small && h.changes().size() == 1 && h.recoveryNotes().size() == 1 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
}

// Ids are 64 bits: a notebook whose last change is 2147483647 goes on counting up.
void HistorySafetyTest::idsGoOnPastThirtyOneBits() {
    Received nb;
    {
        Recording on(nb.data);
        QVERIFY(saveTasks(nb.data, 4));
    }
    const QString big = QStringLiteral("2147483647");
    QByteArray text = readBytes(nb.history(QStringLiteral("changes/00000001.change")));
    text.replace("id 1\n", "id " + big.toUtf8() + "\n");
    text.replace("00000001-yotei.xml", big.toUtf8() + "-yotei.xml");
    QVERIFY(QFile::remove(nb.history(QStringLiteral("changes/00000001.change"))));
    QVERIFY(writeBytes(nb.history(QStringLiteral("changes/") + big + QStringLiteral(".change")), text));
    QVERIFY(QFile::rename(nb.history(QStringLiteral("kept/00000001-yotei.xml")),
                          nb.history(QStringLiteral("kept/") + big + QStringLiteral("-yotei.xml"))));
    {
        Recording on(nb.data);
        QCOMPARE(on.history.changes().size(), 1);
        QVERIFY(saveTasks(nb.data, 5));
        QCOMPARE(on.history.changes().last().id, 2147483648LL);
    }
    Recording on(nb.data);
    QCOMPARE(on.history.changes().size(), 2);
    QVERIFY(on.history.undo().done);
    QVERIFY(on.history.undo().done);
    QCOMPARE(taskNames(nb.data).size(), 3);
}

// The save message gains a line that says why, where the gardener can do something about it.
void HistorySafetyTest::saveMessagesSayWhy() {
    Received nb;
    const QString failed = QString::fromUtf8(msg::SaveFailed);
    store::RecordingSink sink;
    {
        testsupport::FileSizeLimit full(512);
        QVERIFY(!saveTasks(nb.data, 100, QStringLiteral("b"), sink));
    }
    QCOMPARE(sink.messages, QStringList{failed + QStringLiteral("\nファイルが大きすぎて書き込めません。")});
    const QFile::Permissions open = QFile::permissions(nb.data);
    QVERIFY(QFile::setPermissions(nb.data,
                                  QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
    const int result = asPlainUser(nb.dir.path(), [&] {
        store::RecordingSink denied;
        return !saveTasks(nb.data, 4, QStringLiteral("c"), denied) &&
                       denied.messages ==
                           QStringList{failed + QStringLiteral("\n保存先に書き込む権限がありません。")}
                   ? 0
                   : 1;
    });
    QVERIFY(QFile::setPermissions(nb.data, open));
    QCOMPARE(result, 0);
    QCOMPARE(taskNames(nb.data).size(), 3);
    // A folder that is gone is told in the plain words alone, as ever.
    store::RecordingSink gone;
    QVERIFY(!saveTasks(nb.data + QStringLiteral("missing/"), 4, QStringLiteral("d"), gone));
    QCOMPARE(gone.messages, QStringList{failed});
}

QTEST_GUILESS_MAIN(HistorySafetyTest)
#include "history_safety_test.moc"
