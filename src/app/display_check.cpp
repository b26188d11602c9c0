#include "app/display_check.h"

#include <QStringList>
#include <xcb/xcb.h>

DisplayEnvironment DisplayEnvironment::ofThisProcess() {
    return {qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("DISPLAY"),
            qEnvironmentVariable("WAYLAND_DISPLAY")};
}

QString noDisplayReason(const DisplayEnvironment& environment,
                        const std::function<bool(const QString& display)>& xReachable) {
    QStringList platforms;
    for (const QString& entry : environment.platform.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        platforms << entry.section(QLatin1Char(':'), 0, 0).trimmed();
    // Qt's own choice: Wayland where the session offers it, X otherwise.
    if (platforms.isEmpty())
        platforms = environment.waylandDisplay.isEmpty()
                        ? QStringList{QStringLiteral("xcb")}
                        : QStringList{QStringLiteral("wayland"), QStringLiteral("xcb")};
    bool triedX = false;
    for (const QString& platform : platforms) {
        if (platform == QStringLiteral("xcb")) {
            triedX = !environment.display.isEmpty();
            if (triedX && xReachable(environment.display))
                return QString();
        } else if (platform.startsWith(QStringLiteral("wayland"))) {
            if (!environment.waylandDisplay.isEmpty())
                return QString();
        } else {
            return QString();
        }
    }
    if (triedX)
        return QStringLiteral("ディスプレイ %1 に接続できないため、ウィンドウを開けません。")
            .arg(environment.display);
    return QStringLiteral(
        "ディスプレイが見つからないため、ウィンドウを開けません（DISPLAY も WAYLAND_DISPLAY "
        "もありません）。");
}

bool xDisplayReachable(const QString& display) {
    xcb_connection_t* connection = xcb_connect(display.toLocal8Bit().constData(), nullptr);
    const bool reached = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return reached;
}
