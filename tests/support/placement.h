#pragma once

#include <QScreen>
#include <QWidget>

namespace testsupport {

// A stand-in for the main window: a window of the main window's size on the
// screen, away from where its dialogs would be put by default.
inline void placeMainWindow(QWidget& main) {
    main.setGeometry(QRect(QPoint(10, 10), QSize(776, 636)).intersected(main.screen()->availableGeometry()));
    main.show();
}

// Whether the window's frame is centred on the main window, give or take a
// pixel of rounding.
inline bool centredOn(const QWidget& window, const QWidget& main) {
    const QPoint offset = window.frameGeometry().center() - main.frameGeometry().center();
    return offset.manhattanLength() <= 2;
}

} // namespace testsupport
