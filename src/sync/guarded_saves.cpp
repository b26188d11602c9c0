#include "sync/guarded_saves.h"

#include "history/history.h"
#include "store/notebook_files.h"
#include "store/xml_store.h"
#include "sync/sync_messages.h"

#include <QDir>
#include <QFileInfo>

namespace syncing {

GuardedSaves::GuardedSaves(const QString& dataFolder, history::History* history,
                           std::function<QString(const QString&)> listName,
                           std::function<void(const QString&)> changedElsewhere)
    : m_folder(QDir(dataFolder).absolutePath()), m_history(history), m_listName(std::move(listName)),
      m_changedElsewhere(std::move(changedElsewhere)) {
    // A version the history put back is the program's own write, not a change made elsewhere.
    if (m_history)
        m_history->setVersionWritten(
            [this](const QString& file, const QString& path) { m_known.noteRead(file, path); });
}

GuardedSaves::~GuardedSaves() {
    if (m_history)
        m_history->setVersionWritten({});
}

QString GuardedSaves::dataFileOf(const QString& path) const {
    const QFileInfo info(path);
    if (!store::isDataFile(info.fileName()) || info.absolutePath() != m_folder)
        return QString();
    return info.fileName();
}

// An undo writes back versions the history checked itself, and keeps what it replaces.
void GuardedSaves::beforeSave(const QString& path) {
    const QString name = dataFileOf(path);
    const bool rewinding = m_history && m_history->writingVersions();
    if (!name.isEmpty() && !rewinding && m_known.changedOnDisk(name, history::realPath(path))) {
        m_refused.insert(name);
        throw store::SaveError("changed elsewhere", 0, changedElsewhereReason(m_listName(name)));
    }
    if (m_history)
        m_history->beforeSave(path);
}

void GuardedSaves::replace(const QString& path, const QString& target, const QString& staging,
                           const store::ElementCounts& counts, const store::SavedBytes& saved,
                           const std::function<void()>& rename) {
    const QString name = dataFileOf(path);
    const auto renameAndNote = [&] {
        rename();
        if (!name.isEmpty())
            m_known.noteWritten(name, target, saved.hash());
    };
    if (m_history)
        m_history->replace(path, target, staging, counts, saved, renameAndNote);
    else
        renameAndNote();
}

void GuardedSaves::fileRead(const QString& path, const store::ElementCounts& counts) {
    if (m_history)
        m_history->fileRead(path, counts);
    if (const QString name = dataFileOf(path); !name.isEmpty())
        m_known.noteRead(name, history::realPath(path));
}

// A file that could not be read is kept aside before it is replaced; whoever changes it meanwhile.
void GuardedSaves::fileUnreadable(const QString& path) {
    if (m_history)
        m_history->fileUnreadable(path);
    if (const QString name = dataFileOf(path); !name.isEmpty())
        m_known.forget(name);
}

void GuardedSaves::saveFailed(const QString& path) {
    const QString name = dataFileOf(path);
    if (!name.isEmpty() && m_refused.remove(name)) {
        m_changedElsewhere(name);
        return;
    }
    if (m_history)
        m_history->saveFailed(path);
}

} // namespace syncing
