#pragma once

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

namespace testsupport {

// Runs action on the next modal dialog of type T once its exec() has shown it,
// then closes the dialog with キャンセル's result if the action left it open, so
// a failed check cannot hang the test. Gives up quietly when no such dialog
// comes; the caller's assertions then say what is missing.
template <class T> QPointer<QTimer> whenModal(std::function<void(T*)> action) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action, tries] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog && ++*tries < 1000)
            return;
        timer->stop();
        timer->deleteLater();
        if (!dialog)
            return;
        action(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    timer->start(0);
    return timer;
}

// A watcher that may outlive its test (no dialog was expected) is stopped with
// cancel, or deleted by the test.

// Stops a watcher that has not run yet.
inline void cancel(QPointer<QTimer> watcher) {
    if (watcher) {
        watcher->stop();
        watcher->deleteLater();
    }
}

} // namespace testsupport
