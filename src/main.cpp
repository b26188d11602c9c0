#include "app/application.h"
#include "app/command_line.h"
#include "app/display_check.h"
#include "app/instance_channel.h"
#include "app/main_window.h"
#include "app/qt_platform.h"
#include "app/single_instance.h"
#include "store/locations.h"
#include "sync/private_folder.h"
#include "week/week_view.h"

#include <QMessageBox>
#include <QTextStream>

namespace {

// Also on standard error: a start from a terminal or a script learns why it
// ended, or what to mind, even where the box is never seen.
void tellTerminal(const QString& text) {
    QTextStream(stderr) << text << Qt::endl;
}

// The same answer whoever holds the notebook: this session, another session, another user.
// The running window comes to the front first, so the user sees where it is.
int refuseSecondStart(const QString& dataFolder, bool showWeek) {
    // Asked for this week (by the reminder): the running window shows it, and that is all.
    if (showWeek && InstanceChannel::send(dataFolder, kShowWeekMessage))
        return 0;
    InstanceChannel::send(dataFolder, kRaiseMessage);
    const QString text = QStringLiteral("青葉録は起動中です。");
    tellTerminal(text);
    QMessageBox::warning(nullptr, QStringLiteral("警告"), text, QMessageBox::Ok);
    return 0;
}

QString unlockedFolderText(const QString& folder) {
    return QStringLiteral("データフォルダーをロックできません: %1\n"
                          "ほかのコンピューターや別のユーザーが同時に開いても止められないため、"
                          "同時に使わないようにしてください。")
        .arg(folder);
}

} // namespace

int main(int argc, char** argv) {
    // Before any application object, so that what needs no window needs no display either.
    const StartDecision start = readCommandLine(argc, argv);
    if (!start.openWindow)
        return start.exitCode;
    // Qt, finding no display, would abort with an English line.
    if (const QString reason = noDisplayReason(DisplayEnvironment::ofThisProcess(), xDisplayReachable);
        !reason.isEmpty()) {
        QTextStream(stderr) << reason << '\n';
        return 1;
    }
    // Lets a Wayland desktop match the window with its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(AOBAROKU_APP_ID));

    TApplication app(argc, argv);
    app.setUpLook();

    SingleInstance lock;
    if (!lock.tryLock())
        return refuseSecondStart(start.dataFolder.path, start.showWeek);
    store::LockFile folderLock;
    const store::FolderOpening opening =
        store::openDataFolder(start.dataFolder, store::Surroundings::ofThisProcess(), folderLock);
    if (opening == store::FolderOpening::InUse)
        return refuseSecondStart(start.dataFolder.path, start.showWeek);

    // Copied in by hand before the first start, a notebook may be open to every user.
    const bool madePrivate = opening != store::FolderOpening::NotMade &&
                             start.dataFolder.kind == store::DataFolder::Kind::PerUser &&
                             syncing::makePrivate(start.dataFolder.path);
    QtPlatform platform(start.dataFolder.path);
    if (opening == store::FolderOpening::NotMade)
        platform.message(QStringLiteral("データフォルダーを作成できません: ") + start.dataFolder.path);
    app.setErrorHandler([&platform](const QString& text) { platform.error(text); });
    TForm5 window(platform);
    InstanceChannel channel(start.dataFolder.path);
    channel.handle(kRaiseMessage, [&window] { raiseWindow(window); });
    channel.handle(kShowWeekMessage, [&window] {
        raiseWindow(window);
        showThisWeek(*window.tabWidget(), *window.scheduleTab());
    });
    channel.listen();
    window.show();
    if (start.showWeek)
        showThisWeek(*window.tabWidget(), *window.scheduleTab());
    // Once, over the open window: the notebook works, it is only unguarded.
    if (opening == store::FolderOpening::Unlocked) {
        tellTerminal(unlockedFolderText(start.dataFolder.path));
        platform.warning(unlockedFolderText(start.dataFolder.path));
    }
    if (madePrivate) {
        tellTerminal(syncing::madePrivateNote(start.dataFolder.path));
        platform.message(syncing::madePrivateNote(start.dataFolder.path));
    }
    return app.exec();
}
