// Changes made to the data files by somebody else: another computer through a
// sync engine, the Windows copy, an editor. The history keeps the version they
// replaced, so that they can be undone like any command.

#include "history/history.h"
#include "history/record_counts.h"
#include "history/version_check.h"
#include "store/notebook_files.h"
#include "store/xml_store.h"

namespace history {

namespace {

int recordsIn(const QString& file, const QByteArray& bytes) {
    const store::XmlDocument doc = store::XmlDocument::parse(bytes);
    return doc.unparsable() ? -1 : recordsOf(file, doc);
}

} // namespace

// A version the file's writer overwrote in place is gone with it: the change
// then says so, as one that cannot be undone.
void History::recordOutside(const QString& file, const QString& name, const FileIdentity& before) {
    if (m_off || m_rewinding || m_open || m_depth > 0 || !store::isDataFile(file))
        return;
    const QString path = realPath(m_folder.dataPath(file));
    Change change = newChange(ChangeKind::Command, name);
    change.status = ChangeStatus::Closed;
    FileChange f;
    f.file = file;
    f.existedBefore = before.exists;
    f.external = true;
    f.recordsBefore = before.exists ? -1 : 0;
    QByteArray bytes;
    if (before.exists && m_folder.readLatest(file, before, bytes)) {
        f.kept = m_folder.keepBytes(change.id, file, bytes, &f.keptBytes);
        f.keptHash = contentHash(bytes);
        f.recordsBefore = recordsIn(file, bytes);
    }
    f.after = FileIdentity::of(path);
    f.recordsAfter = f.after.exists ? countRecords(path, file) : 0;
    change.files.append(f);
    if (!m_folder.writeChange(change)) {
        m_folder.removeKept(f.kept);
        noteKeepFailed();
        return;
    }
    insertChange(change);
    m_known.remove(file);
    schedulePrune();
}

// Named after the change that took it in, so names never clash.
bool History::takeConflictCopy(const QString& copyName) {
    if (m_off)
        return false;
    const QString keptAs = QStringLiteral("%1-%2").arg(m_lastId, 8, 10, QLatin1Char('0')).arg(copyName);
    return m_folder.takeConflict(copyName, keptAs);
}

// What the program last knew of a file is the version held in "latest"; a
// history from before it held one knows the version its last change left.
QStringList History::recordChangesWhileClosed(const std::function<QString(const QString&)>& nameOf) {
    QStringList changed;
    if (m_off)
        return changed;
    for (const QString& file : store::dataFileNames()) {
        const FileIdentity now = FileIdentity::of(realPath(m_folder.dataPath(file)));
        const FileIdentity latest = m_folder.latestIdentity(file);
        std::optional<FileIdentity> known = latest.exists ? std::optional(latest) : lastKnown(file);
        if (!known || *known == now || (!known->exists && !now.exists))
            continue;
        recordOutside(file, nameOf(file), *known);
        changed << file;
    }
    return changed;
}

} // namespace history
