#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace plantest {

inline const QByteArray kDeclaration = "<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\n";

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

// A plan file as Windows writes it: the declaration, then the elements on one line.
inline QByteArray planFile(const QByteArray& body) {
    return kDeclaration + "<data>" + body + "</data>\n";
}

} // namespace plantest
