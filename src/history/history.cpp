#include "history/history.h"

#include "history/history_messages.h"
#include "history/history_naming.h"
#include "history/record_counts.h"
#include "history/version_check.h"
#include "store/notebook_files.h"
#include "store/xml_store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace history {

History::History(const QString& dataFolder, const Limits& limits)
    : m_folder(dataFolder), m_dataPath(QDir(dataFolder).absolutePath()), m_limits(limits) {
    open();
}

// A history that cannot be used is told of here, once, and never as a failed keep.
void History::open() {
    if (m_folder.problem() != HistoryFolder::Problem::None) {
        m_off = m_told = true;
        m_notes << notInUseNote(m_folder.problem(), m_folder.problemError());
        return;
    }
    const HistoryFolder::Reading reading = m_folder.readChanges();
    if (!reading.listed) {
        m_off = m_told = true;
        m_notes << notInUseNote(HistoryFolder::Problem::Unreadable, reading.error);
        return;
    }
    m_lastId = m_folder.highestId();
    QList<Change> unfinished;
    for (const Change& c : reading.changes)
        (c.status == ChangeStatus::Closed ? m_changes : unfinished).append(c);
    noteUnreadableRecords(reading.unreadable);
    // Only once every finished change is known: settling may write and keep.
    m_opening = true;
    for (const Change& c : unfinished) {
        if (c.status == ChangeStatus::Open)
            settleOpen(c);
        else
            settleInterrupted(c);
    }
    m_opening = false;
}

// A record that cannot be read may be an undo that needs any earlier version:
// every version up to it stays.
void History::noteUnreadableRecords(const QList<ChangeId>& ids) {
    if (ids.isEmpty())
        return;
    m_protectedUpTo = ids.last();
    const Change* before = nullptr;
    for (const Change& c : m_changes)
        if (c.id < ids.first())
            before = &c;
    m_notes << unreadableRecordsNote(int(ids.size()), before);
}

const Change* History::find(ChangeId id) const {
    for (const Change& c : m_changes)
        if (c.id == id)
            return &c;
    return nullptr;
}

// Only the data files of this folder; the page, images and other folders are not ours to keep.
QString History::trackedName(const QString& path) const {
    const QFileInfo info(path);
    if (!store::isDataFile(info.fileName()) || info.absolutePath() != m_dataPath)
        return QString();
    return info.fileName();
}

Change History::newChange(ChangeKind kind, const QString& name) {
    Change c;
    c.id = newId();
    c.kind = kind;
    c.time = QDateTime::currentDateTime();
    c.name = name;
    c.status = kind == ChangeKind::Command ? ChangeStatus::Open : ChangeStatus::Intent;
    return c;
}

// The version last read or written here, else the one the latest change left.
std::optional<FileIdentity> History::lastKnown(const QString& file) const {
    if (m_known.contains(file))
        return m_known.value(file).identity;
    for (auto c = m_changes.crbegin(); c != m_changes.crend(); ++c)
        if (const FileChange* f = c->file(file))
            return f->after;
    return std::nullopt;
}

int History::recordsNow(const QString& file, const FileIdentity& now, const QString& realPath) const {
    const auto known = m_known.constFind(file);
    if (known != m_known.cend() && known->identity == now)
        return known->records;
    return countRecords(realPath, file);
}

// Known without reading when the program wrote the version itself, as it nearly always did.
QString History::hashNow(const QString& file, const FileIdentity& now, const QString& realPath) const {
    const auto known = m_known.constFind(file);
    if (known != m_known.cend() && known->identity == now && !known->hash.isEmpty())
        return known->hash;
    QFile data(realPath);
    return data.open(QIODevice::ReadOnly) ? contentHash(data.readAll()) : QString();
}

void History::remember(const QString& file, const FileIdentity& identity, int records, const QString& hash) {
    m_known.insert(file, Known{identity, records, hash});
}

void History::keepBefore(ChangeId changeId, FileChange& f, const QString& realPath) {
    const FileIdentity now = FileIdentity::of(realPath);
    f.existedBefore = now.exists;
    if (!now.exists) {
        f.recordsBefore = 0;
        return;
    }
    const std::optional<FileIdentity> known = lastKnown(f.file);
    f.external = known && *known != now;
    f.recordsBefore = recordsNow(f.file, now, realPath);
    f.keptHash = hashNow(f.file, now, realPath);
    f.kept = m_folder.keep(changeId, f.file, realPath, true, &f.keptBytes);
    if (f.kept.isEmpty())
        noteKeepFailed();
}

void History::noteKeepFailed() {
    m_failed = true;
}

// A file that an undo left half done takes no save until it is set right;
// the others may be saved whatever became of it.
void History::beforeSave(const QString& path) {
    if (m_off || m_unsettled.isEmpty())
        return;
    QStringList wrote;
    QString cause;
    settleUnsettled(wrote, cause);
    askForReload(wrote);
    const QString name = trackedName(path);
    if (const Change* halfDone = name.isEmpty() ? nullptr : unsettledHolding(name))
        throw store::SaveError("an unfinished undo holds the file", 0, refusedSaveReason(*halfDone, cause));
}

// The record goes down before the file is renamed into place, so that a kill
// at any moment leaves a record that says which version to look for.
void History::replace(const QString& path, const QString& target, const QString& staging,
                      const store::ElementCounts& counts, const store::SavedBytes& saved,
                      const std::function<void()>& rename) {
    const QString name = trackedName(path);
    if (name.isEmpty() || m_off) {
        rename();
        return;
    }
    if (!m_open)
        m_open =
            newChange(ChangeKind::Command, m_depth > 0 ? m_commandName : name + QStringLiteral(" の保存"));
    const std::optional<FileChange> earlier = noteSave(*m_open, name, target, staging, counts);
    try {
        rename();
    } catch (...) {
        forgetSave(name, earlier);
        throw;
    }
    FileChange* entry = m_open->file(name);
    entry->pending = false;
    entry->hasConfirmed = false;
    remember(name, entry->after, entry->recordsAfter, saved.hash());
    m_folder.linkLatest(name, target);
    if (m_depth == 0)
        closeOpen();
}

// Writes the save down as pending; gives what the change held of the file before, if anything.
std::optional<FileChange> History::noteSave(Change& change, const QString& name, const QString& target,
                                            const QString& staging, const store::ElementCounts& counts) {
    FileChange* entry = change.file(name);
    const std::optional<FileChange> earlier = entry ? std::optional<FileChange>(*entry) : std::nullopt;
    if (!entry) {
        FileChange fresh;
        fresh.file = name;
        keepBefore(change.id, fresh, target);
        change.files.append(fresh);
        entry = &change.files.last();
    } else {
        entry->hasConfirmed = true;
        entry->confirmedAfter = entry->after;
        entry->confirmedRecords = entry->recordsAfter;
    }
    entry->after = FileIdentity::of(staging);
    entry->recordsAfter = recordsOf(name, counts);
    entry->pending = true;
    if (!m_folder.writeChange(change))
        noteKeepFailed();
    return earlier;
}

// The save failed: the file is as it was, and so is what the change says of it.
void History::forgetSave(const QString& name, const std::optional<FileChange>& earlier) {
    Change& change = *m_open;
    if (earlier) {
        *change.file(name) = *earlier;
    } else {
        m_folder.removeKept(change.file(name)->kept);
        change.files.removeIf([&name](const FileChange& f) { return f.file == name; });
    }
    if (change.files.isEmpty())
        m_folder.removeChange(change.id);
    else
        m_folder.writeChange(change);
    if (m_depth == 0 || change.files.isEmpty())
        m_open.reset();
}

void History::fileRead(const QString& path, const store::ElementCounts& counts) {
    const QString name = trackedName(path);
    if (name.isEmpty())
        return;
    const FileIdentity now = FileIdentity::of(path);
    const auto known = m_known.constFind(name);
    const QString hash = known != m_known.cend() && known->identity == now ? known->hash : QString();
    remember(name, now, recordsOf(name, counts), hash);
    if (!m_off && !m_rewinding)
        m_folder.linkLatest(name, realPath(path));
}

// The file is still in use, so it is copied, never linked: a link would follow
// whatever is later written into it. A version already kept is not kept again.
void History::fileUnreadable(const QString& path) {
    const QString name = trackedName(path);
    const FileIdentity now = FileIdentity::of(path);
    if (name.isEmpty() || !now.exists || m_off)
        return;
    if (alreadyKeptUnreadable(name, path, now))
        return;
    Change change = newChange(ChangeKind::Unreadable, kUnreadableChangeName);
    FileChange f;
    f.file = name;
    f.existedBefore = true;
    f.after = now;
    f.kept = m_folder.keep(change.id, name, path, false, &f.keptBytes);
    m_known.remove(name);
    QByteArray kept;
    if (f.kept.isEmpty() || !m_folder.readKept(f.kept, kept)) {
        m_folder.removeKept(f.kept);
        noteKeepFailed();
        return;
    }
    f.keptHash = contentHash(kept);
    change.files.append(f);
    change.status = ChangeStatus::Closed;
    if (!m_folder.writeChange(change)) {
        m_folder.removeKept(f.kept);
        noteKeepFailed();
        return;
    }
    insertChange(change);
}

// The same damaged file read again, at this start or the next, is one change.
bool History::alreadyKeptUnreadable(const QString& name, const QString& path, const FileIdentity& now) const {
    for (auto c = m_changes.crbegin(); c != m_changes.crend(); ++c) {
        const FileChange* f = c->file(name);
        if (!f)
            continue;
        if (c->kind != ChangeKind::Unreadable)
            return false;
        QByteArray kept;
        QFile file(path);
        return f->after == now ||
               (m_folder.readKept(f->kept, kept) && file.open(QIODevice::ReadOnly) && file.readAll() == kept);
    }
    return false;
}

// The file keeps what it held; the window, which may show the failed change,
// reads it again once the command is over.
void History::saveFailed(const QString& path) {
    const QString name = trackedName(path);
    if (!name.isEmpty())
        askForReload({name});
}

void History::askForReload(const QStringList& files) {
    for (const QString& file : files)
        if (!m_toReload.contains(file))
            m_toReload << file;
    if (m_toReload.isEmpty() || m_depth > 0)
        return;
    if (m_defer)
        m_defer([this] { reportReload(); });
    else
        reportReload();
}

void History::reportReload() {
    const QStringList files = std::exchange(m_toReload, {});
    if (!files.isEmpty() && m_reloadRequest)
        m_reloadRequest(files);
}

void History::beginCommand(const QString& name) {
    if (m_depth++ > 0)
        return;
    closeOpen();
    m_commandName = name;
}

void History::closeCommand() {
    closeOpen();
}

void History::endCommand() {
    if (m_depth > 0 && --m_depth == 0) {
        closeOpen();
        reportReload();
    }
}

void History::closeOpen() {
    if (!m_open)
        return;
    Change change = *m_open;
    m_open.reset();
    change.status = ChangeStatus::Closed;
    if (!m_folder.writeChange(change))
        noteKeepFailed();
    insertChange(change);
    if (m_failed && !m_told && m_report) {
        m_told = true;
        m_report();
    }
    schedulePrune();
}

void History::insertChange(const Change& change) {
    auto at = std::upper_bound(m_changes.begin(), m_changes.end(), change.id,
                               [](ChangeId id, const Change& c) { return id < c.id; });
    m_changes.insert(at, change);
}

void History::schedulePrune() {
    if (m_opening)
        return;
    if (m_defer)
        m_defer([this] { prune(); });
    else
        prune();
}

// Nothing goes while an undo is half done: its versions and goals may be all
// that is left of some file. Nor anything a record that could not be read may need.
void History::prune() {
    if (m_off || m_open || m_depth > 0 || !m_unsettled.isEmpty())
        return;
    const QList<ChangeId> drop = changesToPrune(m_changes, store::dataBytes(m_folder.dataFolder()), m_limits);
    for (ChangeId id : drop) {
        if (id <= m_protectedUpTo)
            break;
        // The record goes first: a kill then leaves only versions nobody needs.
        m_folder.removeChange(id);
        for (const FileChange& f : find(id)->files)
            m_folder.removeKept(f.kept);
        m_changes.removeIf([id](const Change& c) { return c.id == id; });
    }
    sweepUnneeded();
    packLargeVersions();
}

// Runs after the command, as pruning does, so no save waits for it.
void History::packLargeVersions() {
    for (const Change& c : m_changes)
        for (const FileChange& f : c.files)
            if (!f.kept.isEmpty() && f.keptBytes >= m_limits.packFrom && !m_packed.contains(f.kept) &&
                m_folder.packKept(f.kept, f.keptHash))
                m_packed.insert(f.kept);
}

// Versions of changes that were never written down: a save killed between
// keeping the old version and its record, or a record already dropped.
void History::sweepUnneeded() {
    QSet<QString> needed;
    for (const QList<Change>* list : {&m_changes, &m_unsettled})
        for (const Change& c : *list)
            for (const FileChange& f : c.files)
                needed << f.kept << f.goal;
    for (const QString& kept : m_folder.keptNames())
        if (!needed.contains(kept) && parseKeptName(kept)->id > m_protectedUpTo)
            m_folder.removeKept(kept);
}

} // namespace history
