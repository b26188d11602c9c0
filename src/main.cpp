#include "app/application.h"
#include "app/command_line.h"
#include "app/main_window.h"
#include "app/qt_platform.h"
#include "app/single_instance.h"

#include <QMessageBox>
#include <unistd.h>

int main(int argc, char** argv) {
    // Chromium refuses to start as root unless its sandbox is off; the program
    // is often started by root on a fresh machine, so switch it off then only.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);

    // Before any application object, so that what needs no window needs no display either.
    const StartDecision start = readCommandLine(argc, argv);
    if (!start.openWindow)
        return start.exitCode;
    // Lets a Wayland desktop match the window with its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(AOBAROKU_APP_ID));

    TApplication app(argc, argv);
    app.setUpLook();

    SingleInstance lock;
    if (!lock.tryLock()) {
        QMessageBox::warning(nullptr, QStringLiteral("警告"), QStringLiteral("青葉録は起動中です。"),
                             QMessageBox::Ok);
        return 0;
    }

    QtPlatform platform(start.dataFolder.path);
    if (!store::prepareDataFolder(start.dataFolder, store::Surroundings::ofThisProcess()))
        platform.message(QStringLiteral("データフォルダーを作成できません: ") + start.dataFolder.path);
    app.setErrorHandler([&platform](const QString& text) { platform.error(text); });
    TForm5 window(platform);
    window.show();
    return app.exec();
}
