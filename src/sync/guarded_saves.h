#pragma once

#include "store/save_recorder.h"
#include "sync/known_files.h"

#include <QSet>
#include <functional>

namespace history {
class History;
}

namespace syncing {

// Stands in the store's seam in front of the history (or of nothing, where
// none is kept): it follows which version of each data file the program
// last read or wrote, and refuses a save into a file that somebody else
// changed since. The refused file is handed to changedElsewhere once the
// saver has told the user, to be read again.
class GuardedSaves : public store::SaveRecorder {
public:
    // dataFolder ends with '/'; listName turns a data file's name into the
    // words the user knows it by (予定).
    GuardedSaves(const QString& dataFolder, history::History* history,
                 std::function<QString(const QString&)> listName,
                 std::function<void(const QString&)> changedElsewhere);
    ~GuardedSaves() override;
    GuardedSaves(const GuardedSaves&) = delete;
    GuardedSaves& operator=(const GuardedSaves&) = delete;

    KnownFiles& known() { return m_known; }
    // The data file a path stands for, empty when it is none of this folder's.
    QString dataFileOf(const QString& path) const;

    void beforeSave(const QString& path) override;
    void replace(const QString& path, const QString& target, const QString& staging,
                 const store::ElementCounts& counts, const store::SavedBytes& saved,
                 const std::function<void()>& rename) override;
    void fileRead(const QString& path, const store::ElementCounts& counts) override;
    void fileUnreadable(const QString& path) override;
    void saveFailed(const QString& path) override;

private:
    QString m_folder; // absolute, without the closing slash
    history::History* m_history;
    std::function<QString(const QString&)> m_listName;
    std::function<void(const QString&)> m_changedElsewhere;
    KnownFiles m_known;
    QSet<QString> m_refused;
};

} // namespace syncing
