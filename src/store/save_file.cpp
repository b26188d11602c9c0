#include "store/save_file.h"

#include "store/xml_store.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

namespace store {

namespace {

QSet<QString>& unreadable() {
    static QSet<QString> paths;
    return paths;
}

QString key(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

void copyAside(const QString& path) {
    if (!QFile::exists(path)) {
        unreadable().remove(key(path));
        return;
    }
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = path + QStringLiteral(".unreadable-") + stamp;
    for (int n = 2; QFile::exists(target); ++n)
        target = path + QStringLiteral(".unreadable-") + stamp + QStringLiteral("-%1").arg(n);
    // Without the copy the user's damaged file would be lost: refuse the save instead.
    if (!QFile::copy(path, target))
        throw SaveError("cannot copy the unreadable file aside");
    unreadable().remove(key(path));
}

} // namespace

void noteUnreadable(const QString& path) {
    unreadable().insert(key(path));
}

bool isNotedUnreadable(const QString& path) {
    return unreadable().contains(key(path));
}

void saveBytes(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw SaveError(file.errorString().toStdString());
    if (isNotedUnreadable(path))
        copyAside(path);
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        throw SaveError(file.errorString().toStdString());
    }
    if (!file.commit())
        throw SaveError(file.errorString().toStdString());
}

} // namespace store
