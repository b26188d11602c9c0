// Undo, redo and restore. Each brings several files to earlier versions as one
// change, all or nothing: every version it will write is checked first, the
// versions it replaces are kept and an intent record is written before the
// first file is touched, and one that stops half way is taken back at once.

#include "history/change_text.h"
#include "history/history.h"
#include "history/history_messages.h"
#include "history/version_check.h"
#include "store/save_file.h"
#include "store/xml_store.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <unistd.h>

namespace history {

namespace {

QString restoredText(const Change& change) {
    return listTime(change.time) + QStringLiteral(" の「") + change.name + QStringLiteral("」の前の状態に");
}

const QString kNotKept = QStringLiteral("変更の前の版が履歴に残っていません。");

} // namespace

// The versions the change replaced; none when one of them could not be kept.
std::optional<QList<History::Goal>> History::goalsBefore(const Change& change) {
    QList<Goal> goals;
    for (const FileChange& f : change.files) {
        if (f.lost())
            return std::nullopt;
        goals.append({f.file, f.kept, f.recordsBefore, f.keptBytes, f.keptHash});
    }
    return goals;
}

// Before the next undo, redo or restore is even chosen, one that stopped half
// way is set right: the one chosen next depends on how it ends.
std::optional<Outcome> History::refusedBeforeRewind(const QString& failed, QStringList& settled) {
    closeOpen();
    if (m_off)
        return Outcome{false, notInUseMessage(), {}};
    QString cause;
    if (m_unsettled.isEmpty() || settleUnsettled(settled, cause))
        return std::nullopt;
    return Outcome{false, failed + stillHalfDoneText(m_unsettled.first(), cause), settled};
}

Outcome History::undo() {
    QStringList settled;
    if (const auto refused = refusedBeforeRewind(QStringLiteral("元に戻せませんでした。"), settled))
        return *refused;
    const Change* change = find(undoState().nextUndo());
    if (!change)
        return {false, kNothingToUndo, settled};
    const QString failed = namedAtItsTime(*change) + QStringLiteral("を元に戻せませんでした。");
    const std::optional<QList<Goal>> goals = goalsBefore(*change);
    if (!goals)
        return {false, failed + kNotKept + kFilesUnchanged, settled};
    return rewind({ChangeKind::Undo, change->id, undoName(*change), *goals, failed,
                   namedAtItsTime(*change) + QStringLiteral("を元に戻しました。")},
                  settled);
}

// Redoing a change takes back the undo that undid it.
Outcome History::redo() {
    QStringList settled;
    if (const auto refused = refusedBeforeRewind(QStringLiteral("やり直せませんでした。"), settled))
        return *refused;
    const UndoState state = undoState();
    const Change* change = find(state.nextRedo());
    const Change* undoing = change ? find(state.undoneBy.value(change->id)) : nullptr;
    if (!undoing)
        return {false, kNothingToRedo, settled};
    const QString failed = namedAtItsTime(*change) + QStringLiteral("をやり直せませんでした。");
    const std::optional<QList<Goal>> goals = goalsBefore(*undoing);
    if (!goals)
        return {false, failed + kNotKept + kFilesUnchanged, settled};
    return rewind({ChangeKind::Redo, change->id, redoName(*change), *goals, failed,
                   namedAtItsTime(*change) + QStringLiteral("をやり直しました。")},
                  settled);
}

// Each file goes back to the version the first change from this one on found.
Outcome History::restore(ChangeId id) {
    QStringList settled;
    if (const auto refused = refusedBeforeRewind(QStringLiteral("戻せませんでした。"), settled))
        return *refused;
    const Change* chosen = find(id);
    if (!chosen)
        return {false, QStringLiteral("戻せませんでした。") + kFilesUnchanged, settled};
    const QString failed = restoredText(*chosen) + QStringLiteral("戻せませんでした。");
    QList<Goal> goals;
    for (const Change& c : m_changes) {
        if (c.id < id)
            continue;
        for (const FileChange& f : c.files) {
            if (std::any_of(goals.cbegin(), goals.cend(), [&f](const Goal& g) { return g.file == f.file; }))
                continue;
            if (f.lost())
                return {false, failed + kNotKept + kFilesUnchanged, settled};
            goals.append({f.file, f.kept, f.existedBefore ? f.recordsBefore : 0, f.keptBytes, f.keptHash});
        }
    }
    return rewind({ChangeKind::Restore, id, restoreName(*chosen), goals, failed,
                   restoredText(*chosen) + QStringLiteral("戻しました。")},
                  settled);
}

// What is wrong with the version a goal brings back; empty when it is sound.
QString History::readGoal(const Goal& goal, QByteArray& bytes) const {
    if (!m_folder.readKept(goal.kept, bytes))
        return missingVersionText(goal.file);
    const QString problem = versionProblem(bytes, {goal.file, goal.bytes, goal.hash, goal.records});
    return problem.isEmpty() ? QString() : damagedVersionText(goal.file, problem);
}

// touched: files already written before, which the window reads again whatever happens.
Outcome History::rewind(const Rewind& r, QStringList touched) {
    QString cause;
    QHash<QString, QByteArray> bytes;
    for (const Goal& g : r.goals) {
        if (g.kept.isEmpty())
            continue;
        if (const QString problem = readGoal(g, bytes[g.kept]); !problem.isEmpty())
            return {false, r.failed + problem + kFilesUnchanged, touched};
    }
    Change change = newChange(r.kind, r.name);
    change.target = r.target;
    if (!keepCurrent(change, r.goals) || !m_folder.writeChange(change)) {
        discard(change);
        noteKeepFailed();
        return {false, r.failed + QStringLiteral("今の版を履歴に保存できませんでした。") + kFilesUnchanged,
                touched};
    }
    QStringList written;
    for (FileChange& f : change.files) {
        const auto goal = bytes.constFind(f.goal);
        if (!writeVersion(f.file, goal == bytes.cend() ? nullptr : &*goal, f.recordsAfter, &cause)) {
            // Taken back at once; when even that fails, before any further save.
            QStringList back;
            QString backCause;
            if (settleOne(change, back, backCause)) {
                if (change.status == ChangeStatus::Closed) // finished after all
                    return {true, r.done, touched + written + back};
                return {false, r.failed + cause + kFilesUnchanged, touched + back};
            }
            m_unsettled.append(change);
            return {false, r.failed + cause + leftHalfDoneText(written), touched + written};
        }
        f.after = FileIdentity::of(realPath(m_folder.dataPath(f.file)));
        written << f.file;
        // The record learns what the file now is, for whoever has to settle it.
        m_folder.writeChange(change);
    }
    change.status = ChangeStatus::Closed;
    m_folder.writeChange(change);
    insertChange(change);
    schedulePrune();
    return {true, r.done, touched + written};
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
        f.goalBytes = g.kept.isEmpty() ? -1 : g.bytes;
        f.goalHash = g.kept.isEmpty() ? QString() : g.hash;
        f.recordsAfter = g.kept.isEmpty() ? 0 : g.records;
        change.files.append(f);
    }
    return true;
}

// Written through the atomic saver like any save, but unrecorded: putting a
// kept version back is no change of its own. A kept version is never linked
// back into place, where a later save would change it.
bool History::writeVersion(const QString& file, const QByteArray* bytes, int records, QString* cause) {
    const QString path = m_folder.dataPath(file);
    m_rewinding = true;
    bool ok = true;
    if (!bytes) {
        ok = ::unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT;
        if (!ok)
            *cause = systemCause(errno);
    } else {
        try {
            store::saveBytes(path, *bytes, store::Recording::Off);
        } catch (const store::SaveError& e) {
            ok = false;
            *cause = e.reason().isEmpty() ? systemCause(e.error()) : e.reason();
        } catch (const std::exception&) {
            ok = false;
        }
        if (!ok && cause->isEmpty())
            *cause = QStringLiteral("ファイルを書き込めませんでした。");
    }
    m_rewinding = false;
    if (ok) {
        remember(file, FileIdentity::of(realPath(path)), records, bytes ? contentHash(*bytes) : QString());
        m_folder.linkLatest(file, realPath(path));
        if (m_versionWritten)
            m_versionWritten(file, realPath(path));
    }
    return ok;
}

void History::discard(const Change& change) {
    m_folder.removeChange(change.id);
    for (const FileChange& f : change.files)
        m_folder.removeKept(f.kept);
}

} // namespace history
