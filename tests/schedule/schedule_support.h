#pragma once

#include "support/modal.h"

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

using testsupport::whenModal;

} // namespace scheduletest
