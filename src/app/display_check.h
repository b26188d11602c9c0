#pragma once

#include <QString>
#include <functional>

// Where the window would be shown, as the environment says before the
// application object exists.
struct DisplayEnvironment {
    QString platform;       // QT_QPA_PLATFORM: empty for Qt's own choice, or a list split by ';'
    QString display;        // DISPLAY
    QString waylandDisplay; // WAYLAND_DISPLAY

    static DisplayEnvironment ofThisProcess();
};

// Why no window can open here, in one Japanese line; empty when one can. Qt
// itself, finding no display, prints an English line and aborts the process.
// A platform that needs no display (offscreen, minimal, a frame buffer) always
// can; an X display is asked through xReachable, which the start answers by
// connecting to it.
QString noDisplayReason(const DisplayEnvironment& environment,
                        const std::function<bool(const QString& display)>& xReachable);

// Connects to the X display and leaves again; false when it cannot be reached or refuses us.
bool xDisplayReachable(const QString& display);
