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
class HistoryFolder {
public:
    // dataFolder ends with '/'.
    explicit HistoryFolder(const QString& dataFolder);

    QString dataFolder() const { return m_data; }
    QString dataPath(const QString& fileName) const { return m_data + fileName; }
    QString keptPath(const QString& kept) const;

    // Keeps the file at realPath as a version of fileName for the change: a
    // hard link where mayLink allows and the file system does, otherwise a
    // copy. Gives the kept name, or an empty text when neither works.
    QString keep(int changeId, const QString& fileName, const QString& realPath, bool mayLink, qint64* bytes);
    bool readKept(const QString& kept, QByteArray& bytes) const;
    void removeKept(const QString& kept);
    QStringList keptNames() const;

    bool writeChange(const Change& change);
    void removeChange(int id);
    // Every whole record, oldest first; records cut short and unfinished writes are dropped.
    QList<Change> readChanges();
    // The highest id used by a record or a kept version, 0 for none.
    int highestId() const;

private:
    bool makeFolders() const;
    QString changePath(int id) const;

    QString m_data;
    QString m_changes;
    QString m_kept;
};

} // namespace history
