#pragma once

#include <QFile>
#include <QString>
#include <QTest>
#include <sys/stat.h>

namespace testsupport {

// True when the process pid holds a flock on the file. Read from the kernel's
// lock table, so looking does not itself take the lock and race the program.
inline bool holdsLock(qint64 pid, const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    QFile locks("/proc/locks");
    if (!locks.open(QIODevice::ReadOnly))
        return false;
    const QByteArray inode = ":" + QByteArray::number(qulonglong(info.st_ino)) + " ";
    for (const QByteArray& line : locks.readAll().split('\n'))
        if (line.contains("FLOCK") && line.contains(" " + QByteArray::number(pid) + " ") &&
            line.contains(inode))
            return true;
    return false;
}

// Waits, within a generous bound, until the program has taken its lock.
inline bool lockTakenBy(qint64 pid, const QString& path) {
    for (int i = 0; i < 600; ++i) {
        if (holdsLock(pid, path))
            return true;
        QTest::qWait(100);
    }
    return false;
}

} // namespace testsupport
