#include "sync/notebook_sync.h"

#include "history/data_files.h"
#include "history/history.h"
#include "sync/sync_messages.h"

#include <QFileInfo>

namespace syncing {

namespace {

// A sync engine writes a file in several steps (a temporary name, a rename,
// its own times): the folder is looked at once it has been quiet this long.
constexpr int kQuietMs = 250;
// While a dialog is open, how often to look whether it has closed.
constexpr int kBusyRetryMs = 400;

} // namespace

NotebookSync::NotebookSync(const QString& dataFolder, history::History* history, Hooks hooks, QObject* parent)
    : QObject(parent), m_folder(dataFolder), m_history(history), m_hooks(std::move(hooks)) {
    m_guard = std::make_unique<GuardedSaves>(m_folder, m_history, m_hooks.listName, [this](const QString&) {
        // The saver is still inside its command: the file is read again after it.
        QTimer::singleShot(0, this, &NotebookSync::checkNow);
    });
    m_settle.setSingleShot(true);
    connect(&m_settle, &QTimer::timeout, this, &NotebookSync::checkNow);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &NotebookSync::folderChanged);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &NotebookSync::folderChanged);
    watch();
}

NotebookSync::~NotebookSync() {
    if (m_installed && store::saveRecorder() == m_guard.get())
        store::installSaveRecorder(m_history);
}

void NotebookSync::install() {
    store::installSaveRecorder(m_guard.get());
    m_installed = true;
}

// A rename onto a watched file ends the watch on it: every data file there
// is watched again after each change of the folder.
void NotebookSync::watch() {
    if (!m_watcher.directories().contains(m_folder.chopped(1)) && QFileInfo(m_folder).isDir())
        m_watcher.addPath(m_folder.chopped(1));
    QStringList files;
    for (const QString& name : history::dataFileNames())
        if (QFileInfo::exists(m_folder + name) && !m_watcher.files().contains(m_folder + name))
            files << m_folder + name;
    if (!files.isEmpty())
        m_watcher.addPaths(files);
}

void NotebookSync::folderChanged() {
    watch();
    m_settle.start(kQuietMs);
}

QStringList NotebookSync::changedFiles() {
    QStringList changed;
    for (const QString& name : history::dataFileNames())
        if (m_guard->known().changedOnDisk(name, history::realPath(m_folder + name)))
            changed << name;
    return changed;
}

// Our own saves updated what is known as they renamed: they are never taken for outside changes.
void NotebookSync::checkNow() {
    if ((m_hooks.busy && m_hooks.busy()) || (m_history && m_history->inCommand())) {
        m_settle.start(kBusyRetryMs);
        return;
    }
    const QStringList changed = changedFiles();
    if (changed.isEmpty())
        return;
    for (const QString& name : changed)
        if (m_history)
            m_history->recordOutside(name, outsideChangeName(m_hooks.listName(name)),
                                     m_guard->known().identity(name));
    // Read again even where no list shows it: until then, a save would be refused.
    for (const QString& name : changed)
        m_guard->known().forget(name);
    m_hooks.reload(changed);
    emit changesTaken(changed);
}

QStringList NotebookSync::recordChangesWhileClosed() {
    if (!m_history)
        return {};
    return m_history->recordChangesWhileClosed(
        [this](const QString& file) { return outsideChangeName(m_hooks.listName(file)); });
}

} // namespace syncing
