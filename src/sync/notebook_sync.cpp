#include "sync/notebook_sync.h"

#include "history/command_scope.h"
#include "store/notebook_files.h"
#include "history/history.h"
#include "store/save_file.h"
#include "store/xml_store.h"
#include "sync/sync_messages.h"

#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <unistd.h>

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
    for (const QString& name : store::dataFileNames())
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
    for (const QString& name : store::dataFileNames())
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
    offerConflictCopies();
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

namespace {

// Never through a link: a copy is whatever somebody put in the folder.
bool readPlainFile(const QString& path, QByteArray& bytes) {
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    QFile file;
    const bool ok = file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    if (ok)
        bytes = file.readAll();
    return ok && file.error() == QFileDevice::NoError;
}

} // namespace

void NotebookSync::offerConflictCopies() {
    if (!m_hooks.ask)
        return;
    QList<ConflictCopy> fresh;
    for (const ConflictCopy& copy : findConflictCopies(m_folder))
        if (!m_offered.contains(copy.name))
            fresh << copy;
    if (fresh.isEmpty())
        return;
    QString text = QStringLiteral("同期ソフトが、同時に変更されたファイルのコピーを残しています。\n");
    for (const ConflictCopy& copy : fresh) {
        m_offered << copy.name;
        text += QStringLiteral("\n%1: %2").arg(m_hooks.listName(copy.dataFile), copy.name);
    }
    text +=
        QStringLiteral("\n\n取り込みますか？ コピーにあって今の内容にない記録を加え、コピーは履歴に移します"
                       "（Ctrl+Z で元に戻せます）。\n「いいえ」なら後で（次の起動時に）もう一度たずねます。");
    if (!m_hooks.ask(text))
        return;
    const QString report = mergeConflictCopies(fresh);
    if (m_hooks.tell && !report.isEmpty())
        m_hooks.tell(report);
}

QString NotebookSync::mergeConflictCopies(const QList<ConflictCopy>& copies) {
    QStringList lines;
    QStringList files;
    {
        const history::CommandScope change(m_history, QStringLiteral("競合コピーを取り込む"));
        for (const ConflictCopy& copy : copies) {
            const QString list = m_hooks.listName(copy.dataFile);
            const QString target = history::realPath(m_folder + copy.dataFile);
            QByteArray current;
            QByteArray theirs;
            if (QFileInfo::exists(target) && !readPlainFile(target, current))
                current.clear();
            const Merged merged = readPlainFile(m_folder + copy.name, theirs)
                                      ? mergeCopy(copy.dataFile, current, theirs)
                                      : Merged();
            if (!merged.readable) {
                lines << QStringLiteral("%1 は読み込めないため、そのままにしました。").arg(copy.name);
                continue;
            }
            try {
                if (merged.added > 0)
                    store::saveBytes(m_folder + copy.dataFile, merged.bytes);
            } catch (const std::exception& e) {
                lines << QStringLiteral("%1に取り込めませんでした。%2").arg(list, store::failureCause(e));
                continue;
            }
            files << copy.dataFile;
            lines << QStringLiteral("%1に %2 から %3件を取り込みました。")
                         .arg(list, copy.name)
                         .arg(merged.added);
            for (const QString& crop : merged.differing)
                lines << QStringLiteral("　作物「%1」はコピーでは内容が違います（今の内容のままです）。")
                             .arg(crop);
            if (m_history && !m_history->takeConflictCopy(copy.name))
                lines << QStringLiteral("　%1 を履歴に移せなかったため、そのままにしました。").arg(copy.name);
        }
    }
    files.removeDuplicates();
    if (!files.isEmpty())
        m_hooks.reload(files);
    return lines.join(QLatin1Char('\n'));
}

QStringList NotebookSync::recordChangesWhileClosed() {
    if (!m_history)
        return {};
    return m_history->recordChangesWhileClosed(
        [this](const QString& file) { return outsideChangeName(m_hooks.listName(file)); });
}

} // namespace syncing
