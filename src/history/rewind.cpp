// Undo, redo and restore, and what the next start does with one that a kill
// cut short. Each brings several files to earlier versions as one change, all
// or nothing: the versions they replace are kept and an intent record is
// written before the first file is touched.

#include "history/change_text.h"
#include "history/history.h"
#include "store/save_file.h"

#include <QFile>
#include <QFileInfo>

namespace history {

namespace {

// The file a save to path really replaces: the saver follows symbolic links.
QString realPath(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

QString failedMessage(ChangeKind kind, bool filesUntouched) {
    QString text = kind == ChangeKind::Undo   ? QStringLiteral("元に戻せませんでした。")
                   : kind == ChangeKind::Redo ? QStringLiteral("やり直せませんでした。")
                                              : QStringLiteral("戻せませんでした。");
    return text + (filesUntouched ? QStringLiteral("ファイルは変わっていません。")
                                  : QStringLiteral("次に起動したときに仕上げます。"));
}

} // namespace

// The versions the change replaced; none when one of them could not be kept.
std::optional<QList<History::Goal>> History::goalsBefore(const Change& change) {
    QList<Goal> goals;
    for (const FileChange& f : change.files) {
        if (f.lost())
            return std::nullopt;
        goals.append({f.file, f.kept, f.recordsBefore});
    }
    return goals;
}

namespace {

// How the messages name a change: 予定「完了にする」（12:41）.
QString namedAtItsTime(const Change& change) {
    return change.name + QStringLiteral("（") + clockText(change.time) + QStringLiteral("）");
}

} // namespace

Outcome History::undo() {
    closeOpen();
    const Change* change = find(undoState().nextUndo());
    if (!change)
        return {false, kNothingToUndo, {}};
    const std::optional<QList<Goal>> goals = goalsBefore(*change);
    if (!goals)
        return {false, failedMessage(ChangeKind::Undo, true), {}};
    return rewind(ChangeKind::Undo, change->id, undoName(*change), *goals,
                  namedAtItsTime(*change) + QStringLiteral("を元に戻しました。"));
}

// Redoing a change takes back the undo that undid it.
Outcome History::redo() {
    closeOpen();
    const UndoState state = undoState();
    const Change* change = find(state.nextRedo());
    const Change* undoing = change ? find(state.undoneBy.value(change->id)) : nullptr;
    if (!undoing)
        return {false, kNothingToRedo, {}};
    const std::optional<QList<Goal>> goals = goalsBefore(*undoing);
    if (!goals)
        return {false, failedMessage(ChangeKind::Redo, true), {}};
    return rewind(ChangeKind::Redo, change->id, redoName(*change), *goals,
                  namedAtItsTime(*change) + QStringLiteral("をやり直しました。"));
}

// Each file goes back to the version the first change from this one on found.
Outcome History::restore(int id) {
    closeOpen();
    const Change* chosen = find(id);
    if (!chosen)
        return {false, failedMessage(ChangeKind::Restore, true), {}};
    QList<Goal> goals;
    for (const Change& c : m_changes) {
        if (c.id < id)
            continue;
        for (const FileChange& f : c.files) {
            if (std::any_of(goals.cbegin(), goals.cend(), [&f](const Goal& g) { return g.file == f.file; }))
                continue;
            if (f.lost())
                return {false, failedMessage(ChangeKind::Restore, true), {}};
            goals.append({f.file, f.kept, f.existedBefore ? f.recordsBefore : 0});
        }
    }
    return rewind(ChangeKind::Restore, id, restoreName(*chosen), goals,
                  listTime(chosen->time) + QStringLiteral(" の「") + chosen->name +
                      QStringLiteral("」の前の状態に戻しました。"));
}

Outcome History::rewind(ChangeKind kind, int target, const QString& name, const QList<Goal>& goals,
                        const QString& doneMessage) {
    Change change = newChange(kind, name);
    change.target = target;
    QHash<QString, QByteArray> bytes;
    for (const Goal& g : goals) {
        QByteArray b;
        if (!g.kept.isEmpty() && !m_folder.readKept(g.kept, b))
            return {false, failedMessage(kind, true), {}};
        bytes.insert(g.kept, b);
    }
    if (!keepCurrent(change, goals) || !m_folder.writeChange(change)) {
        discard(change);
        noteKeepFailed();
        return {false, failedMessage(kind, true), {}};
    }
    QStringList written;
    for (FileChange& f : change.files) {
        if (!apply(f, bytes)) {
            const bool back = rollBack(change, written);
            if (!back)
                m_unsettled.append(change);
            return {false, failedMessage(kind, back), written};
        }
        written << f.file;
    }
    change.status = ChangeStatus::Closed;
    m_folder.writeChange(change);
    insertChange(change);
    schedulePrune();
    return {true, doneMessage, written};
}

// The versions about to be replaced are kept first, whoever wrote them: a file
// another program changed is then in the history too.
bool History::keepCurrent(Change& change, const QList<Goal>& goals) {
    for (const Goal& g : goals) {
        FileChange f;
        f.file = g.file;
        keepBefore(change.id, f, realPath(m_folder.dataPath(g.file)));
        if (f.lost())
            return false;
        f.goal = g.kept;
        f.goalRecords = g.records;
        f.recordsAfter = g.kept.isEmpty() ? 0 : g.records;
        change.files.append(f);
    }
    return true;
}

// Written through the atomic saver like any save; a kept version is never
// linked back into place, where a later save would change it.
bool History::apply(FileChange& f, const QHash<QString, QByteArray>& bytes) {
    const QString path = m_folder.dataPath(f.file);
    m_rewinding = true;
    bool ok = true;
    if (f.goal.isEmpty()) {
        ok = !QFile::exists(path) || QFile::remove(path);
    } else {
        try {
            store::saveBytes(path, bytes.value(f.goal));
        } catch (const std::exception&) {
            ok = false;
        }
    }
    m_rewinding = false;
    f.after = FileIdentity::of(realPath(path));
    if (ok)
        remember(f.file, f.after, f.recordsAfter);
    return ok;
}

// Puts back what the change had replaced so far; false when a file cannot be.
bool History::rollBack(const Change& change, const QStringList& written) {
    QHash<QString, QByteArray> bytes;
    bool ok = true;
    for (const FileChange& f : change.files) {
        if (!written.contains(f.file))
            continue;
        QByteArray b;
        FileChange back = f;
        back.goal = f.existedBefore ? f.kept : QString();
        back.recordsAfter = f.recordsBefore;
        if (f.existedBefore && !m_folder.readKept(f.kept, b)) {
            ok = false;
            continue;
        }
        bytes.insert(back.goal, b);
        ok = apply(back, bytes) && ok;
    }
    if (ok)
        discard(change);
    return ok;
}

void History::discard(const Change& change) {
    m_folder.removeChange(change.id);
    for (const FileChange& f : change.files)
        m_folder.removeKept(f.kept);
}

bool History::readGoals(const Change& change, QHash<QString, QByteArray>& bytes) const {
    for (const FileChange& f : change.files) {
        QByteArray b;
        if (!f.goal.isEmpty() && !m_folder.readKept(f.goal, b))
            return false;
        bytes.insert(f.goal, b);
    }
    return true;
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
    m_changes.append(change);
    if (change.files.size() < 2)
        return;
    const std::optional<QList<Goal>> goals = goalsBefore(change);
    if (goals && rewind(ChangeKind::Undo, change.id, undoName(change), *goals, QString()).done)
        m_notes << QStringLiteral("前回「") + change.name +
                       QStringLiteral("」の途中で終了したため、その変更を元に戻しました。");
}

// A killed undo or restore is finished when every version it was bringing back
// is there, and rolled back otherwise; either way each of its files is whole.
void History::settleIntent(Change change) {
    QHash<QString, QByteArray> bytes;
    if (readGoals(change, bytes)) {
        bool ok = true;
        for (FileChange& f : change.files)
            ok = apply(f, bytes) && ok;
        if (ok) {
            change.status = ChangeStatus::Closed;
            m_folder.writeChange(change);
            m_changes.append(change);
            m_notes << QStringLiteral("前回中断された「") + change.name +
                           QStringLiteral("」を最後まで行いました。");
            return;
        }
    }
    QStringList all;
    for (const FileChange& f : change.files)
        all << f.file;
    if (rollBack(change, all)) {
        m_notes << QStringLiteral("前回中断された「") + change.name + QStringLiteral("」を取り消しました。");
        return;
    }
    m_unsettled.append(change);
    m_notes << QStringLiteral("前回中断された「") + change.name +
                   QStringLiteral("」を仕上げられませんでした。次に起動したときにもう一度行います。");
}

} // namespace history
