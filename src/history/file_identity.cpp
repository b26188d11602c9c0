#include "history/file_identity.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <sys/stat.h>

namespace history {

FileIdentity FileIdentity::of(const QString& path) {
    struct stat info {};
    FileIdentity id;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return id;
    id.exists = true;
    id.device = quint64(info.st_dev);
    id.inode = quint64(info.st_ino);
    id.size = qint64(info.st_size);
    id.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    return id;
}

QString FileIdentity::text() const {
    if (!exists)
        return QStringLiteral("-");
    return QStringLiteral("%1:%2:%3:%4").arg(device).arg(inode).arg(size).arg(modifiedNs);
}

FileIdentity FileIdentity::fromText(const QString& text) {
    const QStringList parts = text.split(QLatin1Char(':'));
    FileIdentity id;
    if (parts.size() != 4)
        return id;
    bool ok[4] = {};
    id.device = parts[0].toULongLong(&ok[0]);
    id.inode = parts[1].toULongLong(&ok[1]);
    id.size = parts[2].toLongLong(&ok[2]);
    id.modifiedNs = parts[3].toLongLong(&ok[3]);
    id.exists = ok[0] && ok[1] && ok[2] && ok[3];
    return id.exists ? id : FileIdentity();
}

QString realPath(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

} // namespace history
