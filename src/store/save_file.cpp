#include "store/save_file.h"

#include "store/checksum.h"
#include "store/xml_store.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace store {

namespace {

SaveRecorder* g_recorder = nullptr;

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
        throw SaveError("cannot copy the unreadable file aside", errno);
    unreadable().remove(key(path));
}

// QSaveFile renames over an existing file through a random name of its own, which a
// kill at the wrong moment leaves behind for good. Committing under one fixed name
// first means anything a killed save leaves is known, and the next save clears it.
QString stagingPath(const QString& target) {
    const QString staging = target + QStringLiteral(".saving");
    const QFileInfo info(staging);
    QDir dir = info.dir();
    for (const QString& stale : dir.entryList({info.fileName(), info.fileName() + QStringLiteral(".*")},
                                              QDir::Files | QDir::Hidden | QDir::System))
        dir.remove(stale);
    return staging;
}

} // namespace

QString failureCause(int error) {
    switch (error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("保存先に書き込む権限がありません。");
    case EROFS:
        return QStringLiteral("保存先は読み取り専用です。");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("ディスクの空き容量が足りません。");
    case EFBIG:
        return QStringLiteral("ファイルが大きすぎて書き込めません。");
    default:
        return QString();
    }
}

QString failureCause(const std::exception& e) {
    const auto* error = dynamic_cast<const SaveError*>(&e);
    if (!error)
        return QString();
    return error->reason().isEmpty() ? failureCause(error->error()) : error->reason();
}

namespace {

// A data file that is a link to elsewhere stays a link, as QSaveFile keeps it.
QString linkTarget(const QString& path) {
    QFileInfo info(path);
    for (int depth = 0; depth < 128 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? path : info.filePath();
}

// Each failure carries the system's error as it stood right after the call that failed.
void write(const QString& path, const QByteArray& bytes, const ElementCounts& counts,
           SaveRecorder* recorder) {
    if (recorder)
        recorder->beforeSave(path);
    const QString target = linkTarget(path);
    const QString staging = stagingPath(target);
    QSaveFile file(staging);
    if (!file.open(QIODevice::WriteOnly))
        throw SaveError(file.errorString().toStdString(), errno);
    if (isNotedUnreadable(path))
        copyAside(path);
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const int error = errno;
        file.cancelWriting();
        throw SaveError(file.errorString().toStdString(), error);
    }
    if (!file.commit())
        throw SaveError(file.errorString().toStdString(), errno);
    if (QFile::exists(target))
        QFile::setPermissions(staging, QFile::permissions(target));
    const auto rename = [&staging, &target] {
        if (std::rename(QFile::encodeName(staging).constData(), QFile::encodeName(target).constData()) != 0) {
            const int error = errno;
            QFile::remove(staging);
            throw SaveError(std::strerror(error), error);
        }
    };
    if (recorder)
        recorder->replace(path, target, staging, counts, SavedBytes(bytes), rename);
    else
        rename();
}

} // namespace

const QString& SavedBytes::hash() const {
    if (m_hash.isEmpty())
        m_hash = contentHash(m_bytes);
    return m_hash;
}

void installSaveRecorder(SaveRecorder* recorder) {
    g_recorder = recorder;
}

SaveRecorder* saveRecorder() {
    return g_recorder;
}

void noteUnreadable(const QString& path) {
    unreadable().insert(key(path));
    if (g_recorder)
        g_recorder->fileUnreadable(path);
}

bool isNotedUnreadable(const QString& path) {
    return unreadable().contains(key(path));
}

void saveBytes(const QString& path, const QByteArray& bytes) {
    saveBytes(path, bytes, ElementCounts());
}

void saveBytes(const QString& path, const QByteArray& bytes, const ElementCounts& counts) {
    write(path, bytes, counts, g_recorder);
}

void saveBytes(const QString& path, const QByteArray& bytes, Recording recording) {
    write(path, bytes, ElementCounts(), recording == Recording::On ? g_recorder : nullptr);
}

} // namespace store
