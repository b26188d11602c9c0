#pragma once

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>
#include <functional>

namespace purchasetest {

// Runs action on the modal dialog of type T that the next command opens, as
// soon as its exec() has shown it, then closes it with キャンセル's result if the
// action left it open, so a failed check cannot hang the test. Schedule it
// right before the click that opens the dialog.
template <class T> void onModal(std::function<void(T&)> action) {
    QTimer::singleShot(0, [action] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        QVERIFY2(dialog, "the expected dialog did not open");
        action(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

template <class T> T* child(QWidget& parent, const char* objectName) {
    T* widget = parent.findChild<T*>(QString::fromLatin1(objectName));
    if (!widget)
        qWarning("no child named %s", objectName);
    return widget;
}

inline void click(QWidget& parent, const char* objectName) {
    QTest::mouseClick(child<QWidget>(parent, objectName), Qt::LeftButton);
}

} // namespace purchasetest
