#include "app/application.h"
#include "app/command_line.h"
#include "app/display_check.h"
#include "app/instance_channel.h"
#include "app/main_window.h"
#include "app/qt_platform.h"
#include "app/single_instance.h"

#include <QMessageBox>
#include <QTextStream>

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
    if (!lock.tryLock()) {
        // The running window comes to the front first, so the user sees where it is.
        InstanceChannel::send(start.dataFolder.path, kRaiseMessage);
        QMessageBox::warning(nullptr, QStringLiteral("警告"), QStringLiteral("青葉録は起動中です。"),
                             QMessageBox::Ok);
        return 0;
    }

    QtPlatform platform(start.dataFolder.path);
    if (!store::prepareDataFolder(start.dataFolder, store::Surroundings::ofThisProcess()))
        platform.message(QStringLiteral("データフォルダーを作成できません: ") + start.dataFolder.path);
    app.setErrorHandler([&platform](const QString& text) { platform.error(text); });
    TForm5 window(platform);
    InstanceChannel channel(start.dataFolder.path);
    channel.handle(kRaiseMessage, [&window] { raiseWindow(window); });
    channel.listen();
    window.show();
    return app.exec();
}
