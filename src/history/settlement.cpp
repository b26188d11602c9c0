// What becomes of an undo, redo or restore that stopped half way, and of a
// command a kill cut short. Each file of one that stopped is set to one side:
// back to the version it replaced, which the history kept just before, or,
// when that version is gone, forward to the one it was bringing. Both are in
// the history, so a file that holds either loses nothing when it takes the
// other. A file that holds neither was written by someone else since: it is
// left as it is. Nothing is settled over a later save of the program, since
// the files involved take none until they are settled.

#include "history/change_text.h"
#include "history/history.h"
#include "history/history_messages.h"

#include <QFile>
#include <QFileInfo>

namespace history {

namespace {

struct OnDisk {
    bool exists = false;
    bool readable = true;
    QByteArray bytes;
};

OnDisk onDisk(const QString& path) {
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        return {true, false, {}};
    return {true, true, file.readAll()};
}

// version null: no file.
bool holds(const OnDisk& now, const QByteArray* version) {
    if (!now.readable)
        return false;
    return version ? now.exists && now.bytes == *version : !now.exists;
}

} // namespace

History::Settled History::settle(const Change& change, bool forward, QStringList& wrote, QString& cause) {
    Settled result = Settled::Done;
    for (const FileChange& f : change.files) {
        const Goal before{f.file, f.existedBefore ? f.kept : QString(), f.recordsBefore, f.keptBytes,
                          f.keptHash};
        const Goal brought{f.file, f.goal, f.goalRecords, f.goalBytes, f.goalHash};
        const Goal& to = forward ? brought : before;
        const Goal& from = forward ? before : brought;
        QByteArray toBytes;
        if (!to.kept.isEmpty()) {
            if (const QString problem = readGoal(to, toBytes); !problem.isEmpty()) {
                cause = problem;
                result = Settled::VersionsBad;
                continue;
            }
        }
        const QString path = realPath(m_folder.dataPath(f.file));
        const OnDisk now = onDisk(path);
        const QByteArray* target = to.kept.isEmpty() ? nullptr : &toBytes;
        if (holds(now, target))
            continue;
        // Where the side it comes from is gone too, the file's identity tells:
        // the one the change wrote, or the one the history last knew before it.
        QByteArray fromBytes;
        const bool onTheOtherSide =
            from.kept.isEmpty() || m_folder.readKept(from.kept, fromBytes)
                ? holds(now, from.kept.isEmpty() ? nullptr : &fromBytes)
                : FileIdentity::of(path) == (forward ? identityBefore(f.file, change.id) : f.after);
        if (!onTheOtherSide)
            continue;
        QString failed;
        if (!writeVersion(f.file, target, to.records, &failed)) {
            cause = failed;
            if (result == Settled::Done)
                result = Settled::WriteFailed;
            continue;
        }
        if (!wrote.contains(f.file))
            wrote << f.file;
    }
    return result;
}

// Back where it can be; forward only when a version it would go back to is
// gone, for the gardener was told the undo did not go through.
bool History::settleOne(Change& change, QStringList& wrote, QString& cause) {
    const Settled back = settle(change, false, wrote, cause);
    if (back == Settled::Done) {
        discard(change);
        return true;
    }
    QString forwardCause;
    if (back == Settled::VersionsBad && settle(change, true, wrote, forwardCause) == Settled::Done) {
        closeSettled(change);
        return true;
    }
    return false;
}

// Finished after all: a change like any undo, redo or restore.
void History::closeSettled(Change& change) {
    for (FileChange& f : change.files)
        f.after = FileIdentity::of(realPath(m_folder.dataPath(f.file)));
    change.status = ChangeStatus::Closed;
    m_folder.writeChange(change);
    insertChange(change);
}

bool History::settleUnsettled(QStringList& wrote, QString& cause) {
    for (qsizetype i = 0; i < m_unsettled.size();) {
        if (settleOne(m_unsettled[i], wrote, cause))
            m_unsettled.removeAt(i);
        else
            ++i;
    }
    return m_unsettled.isEmpty();
}

FileIdentity History::identityBefore(const QString& file, ChangeId id) const {
    for (auto c = m_changes.crbegin(); c != m_changes.crend(); ++c)
        if (const FileChange* f = c->file(file); f && c->id < id)
            return f->after;
    return FileIdentity();
}

const Change* History::unsettledHolding(const QString& file) const {
    for (const Change& c : m_unsettled)
        if (c.file(file))
            return &c;
    return nullptr;
}

void History::settleInterrupted(Change change) {
    QStringList wrote;
    QString cause;
    if (settleOne(change, wrote, cause)) {
        m_notes << (change.status == ChangeStatus::Closed ? finishedNote(change) : rolledBackNote(change));
        return;
    }
    m_unsettled.append(change);
    m_notes << stillHalfDoneNote(change, cause);
}

// A killed command: each save either reached its file or did not, and the
// record says which version to look for. One file is whole either way; of
// several, the command may have had more to write, so it is undone: its
// files are then all as before, and redo brings back what it had written.
void History::settleOpen(Change change) {
    QList<FileChange> settled;
    for (FileChange f : change.files) {
        const FileIdentity now = FileIdentity::of(realPath(m_folder.dataPath(f.file)));
        if (f.pending && now != f.after) {
            // The last save never reached the file: it is still the kept
            // version, or what an earlier save of the same command left.
            if (!f.hasConfirmed)
                continue;
            f.recordsAfter = f.confirmedAfter == now ? f.confirmedRecords : -1;
            f.after = now;
        }
        f.pending = false;
        f.hasConfirmed = false;
        settled.append(f);
    }
    change.files = settled;
    change.status = ChangeStatus::Closed;
    if (change.files.isEmpty()) {
        m_folder.removeChange(change.id);
        return;
    }
    m_folder.writeChange(change);
    insertChange(change);
    if (change.files.size() < 2)
        return;
    const std::optional<QList<Goal>> goals = goalsBefore(change);
    if (!goals)
        return;
    const Outcome undone =
        rewind({ChangeKind::Undo, change.id, undoName(change), *goals,
                namedAtItsTime(change) + QStringLiteral("を元に戻せませんでした。"), QString()});
    const QString lead = QStringLiteral("前回「") + change.name + QStringLiteral("」の途中で終了");
    m_notes << (undone.done ? lead + QStringLiteral("したため、その変更を元に戻しました。")
                            : lead + QStringLiteral("しました。") + undone.message);
}

} // namespace history
