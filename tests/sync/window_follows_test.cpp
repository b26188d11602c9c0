#include "app/main_window.h"
#include "history/command_scope.h"
#include "history/history.h"
#include "history_ui/undo_commands.h"
#include "schedule/schedule_tab.h"
#include "schedule/task_records.h"
#include "support/files.h"
#include "support/scripted_platform.h"
#include "sync/private_folder.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

namespace {

void writeTasks(const QString& folder, const QString& name) {
    TYoteiList tasks;
    TYotei* task = tasks.add();
    task->name = name;
    task->tuki = QStringLiteral("6");
    task->shuu = QStringLiteral("1");
    store::RecordingSink sink;
    QVERIFY(tasks.SaveToFile(folder, sink));
}

// The schedule's list as the tab has it.
bool shows(const TYoteiList* tasks, const QString& name) {
    for (int i = 0; i < tasks->count(); ++i)
        if (tasks->at(i)->name == name)
            return true;
    return false;
}

mode_t modeOf(const QString& path) {
    struct stat info {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & 07777;
}

} // namespace

// The open window follows what another program writes into its folder.
class WindowFollowsTest : public QObject {
    Q_OBJECT
private slots:
    void outsideChangeShowsAndUndoBringsOursBack();
    void perUserFolderIsMadePrivateOnce();
    void undoOfTheFirstTaskLeavesTheNextSaveFree();
};

void WindowFollowsTest::outsideChangeShowsAndUndoBringsOursBack() {
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    ScriptedPlatform platform(testsupport::folderOf(dir));
    platform.keepHistory = true;
    writeTasks(platform.dataFolder(), QStringLiteral("支柱立て"));
    TForm5 window(platform);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const TYoteiList* list = window.context().tasks;
    QVERIFY(shows(list, QStringLiteral("支柱立て")));

    writeTasks(elsewhere.path() + QLatin1Char('/'), QStringLiteral("追肥"));
    QCOMPARE(QProcess::execute(QStringLiteral("mv"), {elsewhere.path() + QStringLiteral("/yotei.xml"),
                                                      platform.dataFolder() + kYoteiFileName}),
             0);
    QTRY_VERIFY_WITH_TIMEOUT(shows(list, QStringLiteral("追肥")), 30000);
    QVERIFY(!shows(list, QStringLiteral("支柱立て")));
    QVERIFY(platform.messages.isEmpty());

    window.undoCommands()->Undo();
    QVERIFY(shows(list, QStringLiteral("支柱立て")));
    QVERIFY2(platform.messages.join(QString()).contains(QStringLiteral("ほかで変更「予定」")),
             qPrintable(platform.messages.join(QLatin1Char('|'))));
}

void WindowFollowsTest::perUserFolderIsMadePrivateOnce() {
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/aobaroku");
    QVERIFY(QDir().mkpath(folder + QStringLiteral("/history/kept")));
    writeTasks(folder + QLatin1Char('/'), QStringLiteral("a"));
    QVERIFY(QFile::link(QStringLiteral("/etc/hostname"), folder + QStringLiteral("/link")));
    ::chmod(QFile::encodeName(folder).constData(), 0755);
    ::chmod(QFile::encodeName(folder + QStringLiteral("/history")).constData(), 0755);
    ::chmod(QFile::encodeName(folder + QStringLiteral("/yotei.xml")).constData(), 0644);
    const mode_t linked = modeOf(QStringLiteral("/etc/hostname"));

    QVERIFY(syncing::makePrivate(folder));
    QCOMPARE(modeOf(folder), mode_t(0700));
    QCOMPARE(modeOf(folder + QStringLiteral("/history")), mode_t(0700));
    QCOMPARE(modeOf(folder + QStringLiteral("/yotei.xml")), mode_t(0600));
    QCOMPARE(modeOf(QStringLiteral("/etc/hostname")), linked);
    QVERIFY(!syncing::makePrivate(folder));
}

// An undo that takes a file away again is the program's own doing: the next
// command saves as usual and nobody is told of a change made elsewhere.
void WindowFollowsTest::undoOfTheFirstTaskLeavesTheNextSaveFree() {
    QTemporaryDir dir;
    ScriptedPlatform platform(testsupport::folderOf(dir));
    platform.keepHistory = true;
    TForm5 window(platform);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    TYoteiList* list = window.context().tasks;
    const auto addTask = [&](const QString& name) {
        const history::CommandScope change(window.context().history, QStringLiteral("予定「追加」"));
        TYotei* task = list->add();
        task->name = name;
        task->tuki = QStringLiteral("6");
        task->shuu = QStringLiteral("1");
        return list->SaveToFile(platform.dataFolder(), platform);
    };
    QVERIFY(addTask(QStringLiteral("支柱立て")));
    window.undoCommands()->Undo();
    QVERIFY(!QFile::exists(platform.dataFolder() + kYoteiFileName));
    platform.messages.clear();

    QVERIFY(addTask(QStringLiteral("追肥")));
    QVERIFY2(platform.messages.isEmpty(), qPrintable(platform.messages.join(QLatin1Char('|'))));
    TYoteiList onDisk;
    store::RecordingSink sink;
    QVERIFY(onDisk.LoadFromFile(platform.dataFolder(), sink));
    QCOMPARE(onDisk.count(), 1);
    QCOMPARE(onDisk.at(0)->name, QStringLiteral("追肥"));
}

QTEST_MAIN(WindowFollowsTest)
#include "window_follows_test.moc"
