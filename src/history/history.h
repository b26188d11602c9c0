#pragma once

#include "history/change.h"
#include "history/history_folder.h"
#include "history/pruning.h"
#include "history/undo_stack.h"
#include "store/save_recorder.h"

#include <QHash>
#include <QList>
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
    QStringList files; // the data files written or removed
};

// The history of changes in one data folder. Installed as the store's
// recorder, it keeps every version a save replaces and writes down, per user
// command, which files the command changed and how; it takes the files back
// to earlier versions on undo, redo and restore. Keeping history never makes a
// save fail: what cannot be kept is reported once and the save goes on.
class History : public store::SaveRecorder {
public:
    // Opens the history of the folder (ending with '/'). An undo or restore
    // that a killed run left half done is finished, or rolled back when it
    // cannot be; a command it left open is closed with the saves that reached
    // their files. A history that cannot be read is empty.
    explicit History(const QString& dataFolder, const Limits& limits = Limits());

    // What the opening finished or rolled back, for the user.
    const QStringList& recoveryNotes() const { return m_notes; }

    // Pruning runs through defer, after the save that asked for it; by default at once.
    using Deferral = std::function<void(std::function<void()>)>;
    void setDeferral(Deferral defer) { m_defer = std::move(defer); }
    // Told at the end of the first change whose versions could not all be kept.
    void setKeepFailedReport(std::function<void()> report) { m_report = std::move(report); }
    bool keepFailed() const { return m_failed; }

    // Every save between the outermost begin and its end is one change named name.
    void beginCommand(const QString& name);
    // The command's saves are done, though it goes on to show something: a
    // kill from now on leaves the change as it is.
    void closeCommand();
    void endCommand();

    void replace(const QString& path, const QString& target, const QString& staging,
                 const store::ElementCounts& counts, const std::function<void()>& rename) override;
    void fileRead(const QString& path, const store::XmlDocument& doc) override;
    void fileUnreadable(const QString& path) override;

    // Finished changes, oldest first.
    const QList<Change>& changes() const { return m_changes; }
    const Change* find(int id) const;
    UndoState undoState() const { return history::undoState(m_changes); }

    Outcome undo();
    Outcome redo();
    // Every file the change or a later one touched, back to its version before the change.
    Outcome restore(int id);

    // Drops the oldest changes beyond the limits and versions no change needs.
    void prune();

private:
    struct Known {
        FileIdentity identity;
        int records = -1;
    };
    struct Goal {
        QString file;
        QString kept; // empty: no file
        int records = -1;
    };

    QString trackedName(const QString& path) const;
    int newId() { return ++m_lastId; }
    Change newChange(ChangeKind kind, const QString& name);
    void keepBefore(int changeId, FileChange& f, const QString& realPath);
    std::optional<FileChange> noteSave(Change& change, const QString& name, const QString& target,
                                       const QString& staging, const store::ElementCounts& counts);
    void forgetSave(const QString& name, const std::optional<FileChange>& earlier);
    std::optional<FileIdentity> lastKnown(const QString& file) const;
    int recordsNow(const QString& file, const FileIdentity& now, const QString& realPath) const;
    void remember(const QString& file, const FileIdentity& identity, int records);
    void noteKeepFailed();
    bool alreadyKeptUnreadable(const QString& name, const QString& path, const FileIdentity& now) const;
    void closeOpen();
    void insertChange(const Change& change);
    void schedulePrune();
    void sweepUnneeded();

    static std::optional<QList<Goal>> goalsBefore(const Change& change);
    Outcome rewind(ChangeKind kind, int target, const QString& name, const QList<Goal>& goals,
                   const QString& doneMessage);
    bool keepCurrent(Change& change, const QList<Goal>& goals);
    bool apply(FileChange& f, const QHash<QString, QByteArray>& bytes);
    bool rollBack(const Change& change, const QStringList& written);
    void discard(const Change& change);
    void settleOpen(Change change);
    void settleIntent(Change change);
    bool readGoals(const Change& change, QHash<QString, QByteArray>& bytes) const;

    HistoryFolder m_folder;
    QString m_dataPath; // absolute, without the closing slash
    Limits m_limits;
    QList<Change> m_changes;
    QList<Change> m_unsettled; // intents neither finished nor rolled back
    int m_lastId = 0;
    std::optional<Change> m_open;
    int m_depth = 0;
    QString m_commandName;
    QHash<QString, Known> m_known;
    bool m_rewinding = false;
    bool m_opening = false;
    bool m_failed = false;
    bool m_told = false;
    std::function<void()> m_report;
    Deferral m_defer;
    QStringList m_notes;
};

} // namespace history
