#pragma once

#include "history/history.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"
#include "store/message_sink.h"
#include "store/save_file.h"

#include <QDir>
#include <QString>
#include <QStringList>

namespace historytest {

// A history switched on for the folder for as long as it lives, as the main window does.
struct Recording {
    explicit Recording(const QString& folder, const history::Limits& limits = history::Limits())
        : history(folder, limits) {
        store::installSaveRecorder(&history);
    }
    ~Recording() { store::installSaveRecorder(nullptr); }
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    history::History history;
};

// The kept versions on disk.
inline QStringList keptFiles(const QString& folder) {
    return QDir(folder + QStringLiteral("history/kept")).entryList(QDir::Files);
}

inline QString keptPath(const QString& folder, const QString& kept) {
    return folder + QStringLiteral("history/kept/") + kept;
}

// n tasks whose names tell the version apart; the saver's messages go to sink.
inline bool saveTasks(const QString& folder, int n, const QString& tag, store::MessageSink& sink) {
    TYoteiList tasks;
    for (int i = 0; i < n; ++i) {
        TYotei* task = tasks.add();
        task->name = tag + QString::number(i);
        task->tuki = QStringLiteral("4");
        task->shuu = QStringLiteral("1");
    }
    return tasks.SaveToFile(folder, sink);
}

inline bool saveTasks(const QString& folder, int n, const QString& tag = QStringLiteral("t")) {
    store::RecordingSink sink;
    return saveTasks(folder, n, tag, sink);
}

inline bool savePurchases(const QString& folder, int n, store::MessageSink& sink) {
    TCostList costs;
    for (int i = 0; i < n; ++i) {
        TCost* cost = costs.add();
        cost->nen = QStringLiteral("2026");
        cost->tuki = QStringLiteral("5");
        cost->hi = QString::number(i % 28 + 1);
        TSina* line = cost->sina.add();
        line->name = QStringLiteral("苗%1").arg(i);
        line->kingaku = QStringLiteral("300");
    }
    return costs.SaveToFile(folder, sink);
}

inline bool savePurchases(const QString& folder, int n) {
    store::RecordingSink sink;
    return savePurchases(folder, n, sink);
}

// The names of the tasks in the folder, as the program reads them; one
// "(unreadable)" entry when the file does not load.
inline QStringList taskNames(const QString& folder) {
    TYoteiList tasks;
    store::RecordingSink sink;
    if (!tasks.LoadFromFile(folder, sink) || !sink.messages.isEmpty())
        return {QStringLiteral("(unreadable)")};
    QStringList names;
    for (int i = 0; i < tasks.count(); ++i)
        names << tasks.at(i)->name;
    return names;
}

inline int purchasesIn(const QString& folder) {
    TCostList costs;
    store::RecordingSink sink;
    return costs.LoadFromFile(folder, sink) && sink.messages.isEmpty() ? costs.count() : -1;
}

} // namespace historytest
