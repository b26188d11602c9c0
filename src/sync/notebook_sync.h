#pragma once

#include "sync/conflict_copies.h"
#include "sync/guarded_saves.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>

namespace history {
class History;
}

namespace syncing {

// Keeps the open notebook in step with its data folder when somebody else
// writes into it (another computer through a sync engine, the Windows copy,
// an editor): a save never replaces a change it has not seen, a change made
// outside is read in within about a second, and the history keeps the
// version it replaced as a change of its own, so that undo brings it back.
class NotebookSync : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        // A dialog is open that may hold records: reading waits until it is closed.
        std::function<bool()> busy;
        // Reads the files again into their lists and shows them.
        std::function<void(const QStringList& files)> reload;
        // The words the user knows a data file by (予定).
        std::function<QString(const QString& file)> listName;
        // A question with はい and いいえ; null: nothing is asked.
        std::function<bool(const QString& text)> ask;
        std::function<void(const QString& text)> tell;
    };

    // dataFolder ends with '/'. history may be null: then nothing is recorded.
    NotebookSync(const QString& dataFolder, history::History* history, Hooks hooks,
                 QObject* parent = nullptr);
    ~NotebookSync() override;

    // Puts the guard into the store's seam, in front of the history.
    void install();
    // At the start, before anything is read: files changed while the program
    // was closed become changes of the history. Gives them.
    QStringList recordChangesWhileClosed();
    // Looks for outside changes now rather than when the folder next changes.
    void checkNow();
    GuardedSaves& guard() { return *m_guard; }
    // Conflict copies not offered yet in this run: asks whether to take them
    // in (はい) or leave them for the next start (いいえ).
    void offerConflictCopies();
    // Adds to each data file the records its copies hold and it lacks, as one
    // change of the history, and moves the copies into the history. Gives
    // what to tell the user.
    QString mergeConflictCopies(const QList<ConflictCopy>& copies);

signals:
    // Outside changes to these files were read in.
    void changesTaken(const QStringList& files);

private:
    void watch();
    void folderChanged();
    QStringList changedFiles();

    QString m_folder;
    history::History* m_history;
    Hooks m_hooks;
    std::unique_ptr<GuardedSaves> m_guard;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    bool m_installed = false;
    QStringList m_offered;
};

} // namespace syncing
