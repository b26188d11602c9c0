#pragma once

#include "history/file_identity.h"

#include <QHash>
#include <QString>

namespace syncing {

// What the program last read from or wrote into each data file, so that a
// change made by somebody else is told from the program's own. A file is
// known by its identity (inode, size, modification time to the nanosecond);
// when that moved but the bytes did not (a sync engine that rewrote the same
// content, a file system with coarse times), the checksum of the bytes decides.
class KnownFiles {
public:
    // name is the data file's name, path where it is (links followed).
    void noteRead(const QString& name, const QString& path);
    // hash: the checksum of what was written (contentHash).
    void noteWritten(const QString& name, const QString& path, const QString& hash);
    void forget(const QString& name);
    bool knows(const QString& name) const { return m_seen.contains(name); }
    history::FileIdentity identity(const QString& name) const { return m_seen.value(name).identity; }

    // True when the file at path is no longer the version last seen here. A
    // file never seen is not changed: nothing of it was shown to the user.
    bool changedOnDisk(const QString& name, const QString& path);

private:
    struct Seen {
        history::FileIdentity identity;
        QString hash; // empty until needed
    };
    QHash<QString, Seen> m_seen;
};

// The checksum KnownFiles compares, of the file at path; empty when it cannot be read.
QString fileHash(const QString& path);

} // namespace syncing
