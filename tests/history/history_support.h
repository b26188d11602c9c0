#pragma once

#include "history/history.h"
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

} // namespace historytest
