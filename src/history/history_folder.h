#pragma once

#include "history/change.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace history {

// The folder "history" inside the data folder: one record per change in
// "changes", the versions the changes replaced in "kept". The Windows copy of
// the program never looks inside. Every record is written whole under a
// temporary name and renamed into place, so a record is either there in full
// or not at all.
//
// Anyone who hands over a notebook folder can put anything in it, so the three
// folders are opened once without following links and every file in them is
// reached through them, again without following links: nothing the history
// writes or deletes can land outside. Only names the history makes are touched.
class HistoryFolder {
public:
    enum class Problem {
        None,
        Link,       // history, changes or kept is a symbolic link, or holds one
        NotFolder,  // one of them is a file or something else
        Unreadable, // one of them cannot be opened or listed
    };

    // dataFolder ends with '/'.
    explicit HistoryFolder(const QString& dataFolder);
    ~HistoryFolder();
    HistoryFolder(const HistoryFolder&) = delete;
    HistoryFolder& operator=(const HistoryFolder&) = delete;

    // What makes the folder unfit for use, found when it was opened; a
    // history with a problem is never written to or deleted from.
    Problem problem() const { return m_problem; }
    // The system's error for Unreadable.
    int problemError() const { return m_problemError; }

    QString dataFolder() const { return m_data; }
    QString dataPath(const QString& fileName) const { return m_data + fileName; }

    // Keeps the file at realPath as a version of fileName for the change: a
    // hard link where mayLink allows and the file system does, otherwise a
    // copy. Gives the kept name, or an empty text when neither works.
    QString keep(ChangeId changeId, const QString& fileName, const QString& realPath, bool mayLink,
                 qint64* bytes);
    // False when the version is missing, no plain file, cannot be read in full
    // or, stored packed, does not unpack.
    bool readKept(const QString& kept, QByteArray& bytes) const;
    // Stores the version packed in place of itself, once its bytes are seen
    // to be the ones the record holds (hash). True when it is stored packed.
    bool packKept(const QString& kept, const QString& hash);
    void removeKept(const QString& kept);
    // The versions on disk under the names the history makes.
    QStringList keptNames() const;
    // Keeps bytes, a version no longer on disk, as a version of fileName for the change.
    QString keepBytes(ChangeId changeId, const QString& fileName, const QByteArray& bytes, qint64* size);

    // The version of each data file the program last read or wrote, held by
    // a hard link in "latest": when somebody else replaces the file, by a
    // rename as sync engines do, the version they replaced is still there.
    // Nothing where the file system cannot link.
    void linkLatest(const QString& fileName, const QString& realPath);
    // The latest version held for fileName, when it is the file identified.
    bool readLatest(const QString& fileName, const FileIdentity& identity, QByteArray& bytes);
    // Moves the conflict copy copyName out of the data folder into
    // "conflicts" under keptAs; false when it is no plain file or cannot be moved.
    bool takeConflict(const QString& copyName, const QString& keptAs);
    // Which file the latest version held is; one that does not exist when none is held.
    FileIdentity latestIdentity(const QString& fileName) const;

    bool writeChange(const Change& change);
    void removeChange(ChangeId id);

    struct Reading {
        QList<Change> changes;      // every whole record, oldest first
        QList<ChangeId> unreadable; // records under the history's names that are no record to act on
        bool listed = true;         // false: the records could not be listed at all
        int error = 0;
    };
    // Records cut short are no records, and the unfinished writes a kill left
    // are cleared. A record too large for one, or that names any file the
    // history would not have made, is unreadable.
    Reading readChanges();
    // The highest id of a record or kept version on disk, 0 for none.
    ChangeId highestId() const;

private:
    void open();
    bool makeFolders();
    int openFolder(int parent, const char* name, bool create);
    void note(Problem problem, int error);
    void checkForLinks(int folder);
    void clearUnfinishedPacking();

    QString m_data;
    int m_dataFd = -1;
    int m_history = -1;
    int m_changes = -1;
    int m_kept = -1;
    int m_latest = -1;
    int m_conflicts = -1;
    Problem m_problem = Problem::None;
    int m_problemError = 0;
};

} // namespace history
