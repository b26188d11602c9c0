#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace testsupport {

// The whole file; empty when it is missing or cannot be read.
inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// False unless every byte was written, so a test can insist on its fixture.
inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The folder as the loaders and savers take it, with its closing slash.
inline QString folderOf(const QTemporaryDir& dir) {
    return dir.path() + QLatin1Char('/');
}

} // namespace testsupport
