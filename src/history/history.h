#pragma once

#include "history/change.h"
#include "history/history_folder.h"
#include "history/pruning.h"
#include "history/undo_stack.h"
#include "store/save_recorder.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace history {

inline const QString kKeepFailedMessage =
    QStringLiteral("変更履歴を保存できませんでした。元に戻す機能は使えません。");
inline const QString kUnreadableChangeName = QStringLiteral("読み込めなかったファイル");

// What an undo, a redo or a restore did, and what to tell the user.
struct Outcome {
    bool done = false;
    QString message;
    QStringList files; // the data files written or removed, whether it went through or not
};

// The history of changes in one data folder. Installed as the store's
// recorder, it keeps every version a save replaces and writes down, per user
// command, which files the command changed and how; it takes the files back
// to earlier versions on undo, redo and restore. Keeping history never makes a
// save fail: what cannot be kept is reported once and the save goes on. The
// one save it refuses is one into a file that an undo, redo or restore left
// half done and that cannot be set right yet.
class History : public store::SaveRecorder {
public:
    // Opens the history of the folder (ending with '/'). An undo or restore
    // that a killed run left half done is rolled back (or, when it cannot be,
    // finished); a command it left open is closed with the saves that reached
    // their files. A history that cannot be used keeps nothing and deletes
    // nothing, and says so among the notes.
    explicit History(const QString& dataFolder, const Limits& limits = Limits());

    // What the opening found and did, for the user, once.
    const QStringList& recoveryNotes() const { return m_notes; }
    // False when the history folder cannot be used or its records not read.
    bool inUse() const { return !m_off; }
    // An undo, redo or restore is writing its versions into the data files.
    bool writingVersions() const { return m_rewinding; }
    // A command is saving: its saves are one change until it ends.
    bool inCommand() const { return m_depth > 0; }

    // Pruning runs through defer, after the save that asked for it; by default at once.
    using Deferral = std::function<void(std::function<void()>)>;
    void setDeferral(Deferral defer) { m_defer = std::move(defer); }
    // Told of each data file an undo, redo, restore or settlement wrote or
    // removed (its name and path), so that whatever watches the files for
    // changes made elsewhere knows the program's own writes.
    using VersionWritten = std::function<void(const QString& file, const QString& path)>;
    void setVersionWritten(VersionWritten told) { m_versionWritten = std::move(told); }
    // Told at the end of the first change whose versions could not all be kept.
    void setKeepFailedReport(std::function<void()> report) { m_report = std::move(report); }
    bool keepFailed() const { return m_failed; }
    // Told, once the command is over, of data files that may no longer hold
    // what the windows show: a save into them failed, or the history set them
    // right after an undo that stopped half way.
    void setReloadRequest(std::function<void(const QStringList& files)> request) {
        m_reloadRequest = std::move(request);
    }

    // Every save between the outermost begin and its end is one change named name.
    void beginCommand(const QString& name);
    // The command's saves are done, though it goes on to show something: a
    // kill from now on leaves the change as it is.
    void closeCommand();
    void endCommand();

    void beforeSave(const QString& path) override;
    void replace(const QString& path, const QString& target, const QString& staging,
                 const store::ElementCounts& counts, const store::SavedBytes& saved,
                 const std::function<void()>& rename) override;
    void fileRead(const QString& path, const store::ElementCounts& counts) override;
    void fileUnreadable(const QString& path) override;
    void saveFailed(const QString& path) override;

    // Finished changes, oldest first.
    const QList<Change>& changes() const { return m_changes; }
    const Change* find(ChangeId id) const;
    UndoState undoState() const { return history::undoState(m_changes); }

    Outcome undo();
    Outcome redo();
    // Every file the change or a later one touched, back to its version before the change.
    Outcome restore(ChangeId id);

    // Drops the oldest changes beyond the limits and versions no change needs.
    void prune();

    // Somebody else replaced the data file file: the version the program last
    // knew (before), when the history still holds it, is kept as a change
    // named name, so that undo brings it back. Not while a command is open.
    void recordOutside(const QString& file, const QString& name, const FileIdentity& before);
    // At the start, before anything is read: every data file that is no
    // longer the version the program last read or wrote is recorded as an
    // outside change, named by nameOf(file). Gives those files.
    // Moves a sync engine's conflict copy of a data file into the history's
    // "conflicts" under a name it makes; false when it stays where it is.
    bool takeConflictCopy(const QString& copyName);
    QStringList recordChangesWhileClosed(const std::function<QString(const QString&)>& nameOf);

private:
    struct Known {
        FileIdentity identity;
        int records = -1;
        QString hash; // empty: not known
    };
    struct Goal {
        QString file;
        QString kept; // empty: no file
        int records = -1;
        qint64 bytes = -1;
        QString hash;
    };
    // An undo, redo or restore about to be carried out: what it brings back, and how it is told.
    struct Rewind {
        ChangeKind kind;
        ChangeId target;
        QString name;
        QList<Goal> goals;
        QString failed; // "予定「完了にする」（12:41）を元に戻せませんでした。"
        QString done;
    };

    void open();
    void noteUnreadableRecords(const QList<ChangeId>& ids);
    QString trackedName(const QString& path) const;
    ChangeId newId() { return ++m_lastId; }
    Change newChange(ChangeKind kind, const QString& name);
    void keepBefore(ChangeId changeId, FileChange& f, const QString& realPath);
    std::optional<FileChange> noteSave(Change& change, const QString& name, const QString& target,
                                       const QString& staging, const store::ElementCounts& counts);
    void forgetSave(const QString& name, const std::optional<FileChange>& earlier);
    std::optional<FileIdentity> lastKnown(const QString& file) const;
    int recordsNow(const QString& file, const FileIdentity& now, const QString& realPath) const;
    QString hashNow(const QString& file, const FileIdentity& now, const QString& realPath) const;
    void remember(const QString& file, const FileIdentity& identity, int records, const QString& hash);
    void noteKeepFailed();
    bool alreadyKeptUnreadable(const QString& name, const QString& path, const FileIdentity& now) const;
    void closeOpen();
    void insertChange(const Change& change);
    void schedulePrune();
    void sweepUnneeded();
    void packLargeVersions();
    void askForReload(const QStringList& files);
    void reportReload();

    // rewind.cpp
    static std::optional<QList<Goal>> goalsBefore(const Change& change);
    std::optional<Outcome> refusedBeforeRewind(const QString& failed, QStringList& settled);
    Outcome rewind(const Rewind& r, QStringList touched = {});
    QString readGoal(const Goal& goal, QByteArray& bytes) const;
    bool keepCurrent(Change& change, const QList<Goal>& goals);
    // Puts bytes in place of the data file, or removes it when bytes is null;
    // false with the cause when it cannot.
    bool writeVersion(const QString& file, const QByteArray* bytes, int records, QString* cause);
    void discard(const Change& change);

    // settlement.cpp
    enum class Settled { Done, WriteFailed, VersionsBad };
    void settleOpen(Change change);
    void settleInterrupted(Change change);
    Settled settle(const Change& change, bool forward, QStringList& wrote, QString& cause);
    bool settleOne(Change& change, QStringList& wrote, QString& cause);
    void closeSettled(Change& change);
    bool settleUnsettled(QStringList& wrote, QString& cause);
    const Change* unsettledHolding(const QString& file) const;
    // The file as the latest change before id left it; none when no change touched it.
    FileIdentity identityBefore(const QString& file, ChangeId id) const;

    HistoryFolder m_folder;
    QString m_dataPath; // absolute, without the closing slash
    Limits m_limits;
    QList<Change> m_changes;
    // Undos, redos and restores that stopped half way and could not be set
    // right yet: their files take no save until they are.
    QList<Change> m_unsettled;
    ChangeId m_lastId = 0;
    // Versions up to this change may be needed by a record that could not be
    // read: pruning leaves them.
    ChangeId m_protectedUpTo = 0;
    std::optional<Change> m_open;
    int m_depth = 0;
    QString m_commandName;
    QHash<QString, Known> m_known;
    bool m_off = false;
    bool m_rewinding = false;
    bool m_opening = false;
    bool m_failed = false;
    bool m_told = false;
    std::function<void()> m_report;
    std::function<void(const QStringList&)> m_reloadRequest;
    QStringList m_toReload;
    QSet<QString> m_packed; // kept versions known to be stored packed
    Deferral m_defer;
    VersionWritten m_versionWritten;
    QStringList m_notes;
};

} // namespace history
