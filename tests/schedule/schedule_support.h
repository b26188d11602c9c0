#pragma once

#include "schedule/task_records.h"
#include "store/message_sink.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>

namespace scheduletest {

// A task row for seeding: name, month, week, state and note lines.
struct Seed {
    QString name;
    QString tuki;
    QString shuu;
    QString state;
    QStringList note;
};

inline TYotei* addTask(TYoteiList& list, const Seed& seed) {
    TYotei* task = list.add();
    task->name = seed.name;
    task->tuki = seed.tuki;
    task->shuu = seed.shuu;
    task->state = seed.state;
    task->note = seed.note;
    return task;
}

inline void fill(TYoteiList& list, const QList<Seed>& seeds) {
    for (const Seed& seed : seeds)
        addTask(list, seed);
}

// The schedule as the file holds it now.
inline std::unique_ptr<TYoteiList> reread(const QString& folder) {
    auto list = std::make_unique<TYoteiList>();
    store::RecordingSink sink;
    list->LoadFromFile(folder, sink);
    return list;
}

inline QStringList names(const TYoteiList& list) {
    QStringList result;
    for (int i = 0; i < list.count(); ++i)
        result << list.at(i)->name;
    return result;
}

// Runs action on the next modal dialog of type T once its exec() has shown it,
// then closes it with キャンセル's result if the action left it open, so a
// failed check cannot hang the test. Gives up quietly when no such dialog
// comes; the caller's assertions then say what is missing. A watcher that may
// outlive its test (no dialog was expected) must be deleted by the test.
template <class T> QTimer* whenModal(std::function<void(T*)> action) {
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action, tries] {
        auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog && ++*tries < 200)
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

} // namespace scheduletest
