#pragma once

#include <QString>

namespace history {

// Which file a name stands for, as far as the program needs to know whether
// somebody else replaced or rewrote it: its inode, size and modification time.
// The change time is left out on purpose: keeping a version by hard link
// changes it.
struct FileIdentity {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;

    // Symbolic links are followed, as the saver follows them.
    static FileIdentity of(const QString& path);

    // "-" for a file that does not exist.
    QString text() const;
    static FileIdentity fromText(const QString& text);

    bool operator==(const FileIdentity&) const = default;
};

// The file a save to path really replaces: the saver follows symbolic links.
QString realPath(const QString& path);

} // namespace history
