#include "history/history_folder.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace history {

namespace {

const QString kRecordSuffix = QStringLiteral(".change");
const QString kWritingSuffix = QStringLiteral(".writing");

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool copyFile(const QString& from, const QString& to) {
    QFile::remove(to);
    if (QFile::copy(from, to))
        return true;
    QFile::remove(to);
    return false;
}

int leadingNumber(const QString& name) {
    bool ok = false;
    const int id = name.section(QLatin1Char('-'), 0, 0).section(QLatin1Char('.'), 0, 0).toInt(&ok);
    return ok ? id : 0;
}

} // namespace

HistoryFolder::HistoryFolder(const QString& dataFolder)
    : m_data(dataFolder), m_changes(dataFolder + QStringLiteral("history/changes/")),
      m_kept(dataFolder + QStringLiteral("history/kept/")) {}

QString HistoryFolder::keptPath(const QString& kept) const {
    return m_kept + kept;
}

QString HistoryFolder::changePath(int id) const {
    return m_changes + QStringLiteral("%1").arg(id, 8, 10, QLatin1Char('0')) + kRecordSuffix;
}

// Never the data folder itself: only the start makes one, and only the
// per-user one. A data folder that is gone stays gone, and its save fails.
bool HistoryFolder::makeFolders() const {
    const QDir data(m_data);
    return data.exists() && data.mkpath(QStringLiteral("history/changes")) &&
           data.mkpath(QStringLiteral("history/kept"));
}

QString HistoryFolder::keep(int changeId, const QString& fileName, const QString& realPath, bool mayLink,
                            qint64* bytes) {
    if (!makeFolders())
        return QString();
    const QString kept = QStringLiteral("%1-").arg(changeId, 8, 10, QLatin1Char('0')) + fileName;
    const QString path = keptPath(kept);
    QFile::remove(path);
    // A link costs nothing whatever the size; other file systems, or a data
    // file elsewhere through a symbolic link, get a copy.
    const bool linked = mayLink && ::link(native(realPath).constData(), native(path).constData()) == 0;
    if (!linked && !copyFile(realPath, path))
        return QString();
    *bytes = QFile(path).size();
    return kept;
}

bool HistoryFolder::readKept(const QString& kept, QByteArray& bytes) const {
    QFile file(keptPath(kept));
    if (kept.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    bytes = file.readAll();
    return bytes.size() == file.size();
}

void HistoryFolder::removeKept(const QString& kept) {
    if (!kept.isEmpty())
        QFile::remove(keptPath(kept));
}

QStringList HistoryFolder::keptNames() const {
    return QDir(m_kept).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

bool HistoryFolder::writeChange(const Change& change) {
    if (!makeFolders())
        return false;
    const QString path = changePath(change.id);
    const QString writing = path + kWritingSuffix;
    const int fd = ::open(native(writing).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const bool written = writeAll(fd, serialize(change));
    const bool closed = ::close(fd) == 0;
    if (written && closed && ::rename(native(writing).constData(), native(path).constData()) == 0)
        return true;
    QFile::remove(writing);
    return false;
}

void HistoryFolder::removeChange(int id) {
    QFile::remove(changePath(id));
}

QList<Change> HistoryFolder::readChanges() {
    QList<Change> changes;
    QDir dir(m_changes);
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
        if (name.endsWith(kWritingSuffix)) {
            dir.remove(name);
            continue;
        }
        QFile file(dir.filePath(name));
        if (!name.endsWith(kRecordSuffix) || !file.open(QIODevice::ReadOnly))
            continue;
        std::optional<Change> change = parseChange(file.readAll());
        if (change && change->id == leadingNumber(name))
            changes.append(*change);
    }
    return changes;
}

int HistoryFolder::highestId() const {
    int highest = 0;
    for (const QString& name : QDir(m_changes).entryList(QDir::Files | QDir::Hidden | QDir::System))
        highest = std::max(highest, leadingNumber(name));
    for (const QString& name : keptNames())
        highest = std::max(highest, leadingNumber(name));
    return highest;
}

} // namespace history
