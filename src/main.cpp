#include "app/application.h"
#include "app/main_window.h"
#include "app/qt_platform.h"
#include "app/single_instance.h"

#include <QMessageBox>

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    app.setUpLook();

    SingleInstance lock;
    if (!lock.tryLock()) {
        QMessageBox::warning(nullptr, QStringLiteral("警告"), QStringLiteral("青葉録は起動中です。"),
                             QMessageBox::Ok);
        return 0;
    }

    QtPlatform platform;
    app.setErrorHandler([&platform](const QString& text) { platform.error(text); });
    TForm5 window(platform);
    window.show();
    return app.exec();
}
