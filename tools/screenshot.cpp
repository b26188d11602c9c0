// Opens the main window as a user would and saves a picture of every tab,
// for looking at the layout on a machine without a screen (run under xvfb-run).
#include "app/application.h"
#include "app/main_window.h"
#include "app/qt_platform.h"
#include "store/locations.h"

#include <QDir>
#include <QEventLoop>
#include <QTabWidget>
#include <QTimer>
#include <unistd.h>

namespace {

void wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

int main(int argc, char** argv) {
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TApplication app(argc, argv);
    app.setUpLook();
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("shots");
    QDir().mkpath(out);

    QtPlatform platform(store::chooseDataFolder(store::Surroundings::ofThisProcess()).path);
    TForm5 window(platform);
    window.show();
    wait(2500);
    for (int i = 0; i < window.tabWidget()->count(); ++i) {
        window.tabWidget()->setCurrentIndex(i);
        wait(i == 0 || i == 5 ? 1500 : 300);
        window.grab().save(QStringLiteral("%1/tab%2.png").arg(out).arg(i + 1));
    }
    return 0;
}
