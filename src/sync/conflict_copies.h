#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace syncing {

// A copy a sync engine left beside a data file when two computers changed it
// at once: Syncthing "yotei.sync-conflict-20261210-101010-ABCDEFG.xml",
// Nextcloud and ownCloud "yotei (conflicted copy 2026-12-10 101010).xml",
// Dropbox "yotei (Taro's conflicted copy 2026-12-10).xml".
struct ConflictCopy {
    QString name;     // the copy's name in the data folder
    QString dataFile; // the data file it is a copy of
};

// The data file a copy's name stands for; empty for any other name.
QString conflictCopyOf(const QString& name);
// The plain files of the folder (no links) that are conflict copies of its data files.
QList<ConflictCopy> findConflictCopies(const QString& folder);

// What a merge of a copy into its data file gives.
struct Merged {
    bool readable = false; // false: the copy (or the file) could not be read; nothing to write
    QByteArray bytes;      // the data file with the copy's missing records added
    int added = 0;
    // Crops the copy holds under the same name with other contents: the
    // current one stays; the copy's is shown to the user.
    QStringList differing;
};

// Records of copy that current lacks, by exact equality of the whole record
// (crops by name), are added after current's own. Plans are compared by
// their groups.
Merged mergeCopy(const QString& dataFile, const QByteArray& current, const QByteArray& copy);

} // namespace syncing
