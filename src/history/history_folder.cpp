#include "history/history_folder.h"

#include "history/history_naming.h"
#include "history/version_check.h"
#include "history/version_pack.h"
#include "store/notebook_files.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace history {

namespace {

// A record of all twelve files stays under 4 KB: anything much larger is not
// one, and is never read whole.
constexpr qint64 kLargestRecord = 64 * 1024;
constexpr int kOpenFlags = O_NOFOLLOW | O_CLOEXEC;
// A kept version being packed is written under this suffix, then renamed over itself.
const QString kPackingSuffix = QStringLiteral(".packing");

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

bool writeAll(int fd, const char* data, qsizetype size) {
    qsizetype done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size_t(size - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

bool copyAll(int in, int out) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n == 0)
            return true;
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 || !writeAll(out, buffer, n))
            return false;
    }
}

// Reads a plain file through fd in full, and closes it.
bool readPlain(int fd, QByteArray& bytes, qint64 largest) {
    struct stat info {};
    bool ok = fd >= 0 && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= largest;
    if (ok) {
        bytes.resize(qsizetype(info.st_size));
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += n;
        }
        ok = done == bytes.size();
    }
    if (fd >= 0)
        ::close(fd);
    return ok;
}

bool isPlainAt(int folder, const QByteArray& name) {
    struct stat info {};
    return ::fstatat(folder, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode);
}

bool isLinkAt(int folder, const QByteArray& name) {
    struct stat info {};
    return ::fstatat(folder, name.constData(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode);
}

// Calls visit with the name and type (DT_*) of every entry of the folder;
// gives the system's error when the folder cannot be listed, else 0.
int eachEntry(int folder, const std::function<void(const QByteArray&, unsigned char)>& visit) {
    const int fd = ::dup(folder);
    DIR* dir = fd < 0 ? nullptr : ::fdopendir(fd);
    if (!dir) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        return error;
    }
    ::rewinddir(dir);
    errno = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            visit(name, entry->d_type);
        errno = 0;
    }
    const int error = errno;
    ::closedir(dir);
    return error;
}

bool isPlainEntry(int folder, const QByteArray& name, unsigned char type) {
    return type == DT_REG || (type == DT_UNKNOWN && isPlainAt(folder, name));
}

} // namespace

HistoryFolder::HistoryFolder(const QString& dataFolder) : m_data(dataFolder) {
    open();
}

HistoryFolder::~HistoryFolder() {
    for (int fd : {m_kept, m_changes, m_history, m_dataFd})
        if (fd >= 0)
            ::close(fd);
}

// A history that does not exist yet is fine: it is made at the first save.
void HistoryFolder::open() {
    m_dataFd = ::open(native(m_data).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_dataFd < 0)
        return;
    m_history = openFolder(m_dataFd, kHistoryFolderName, false);
    if (m_history < 0)
        return;
    m_changes = openFolder(m_history, "changes", false);
    m_kept = openFolder(m_history, "kept", false);
    for (int folder : {m_history, m_changes, m_kept})
        if (folder >= 0)
            checkForLinks(folder);
    clearUnfinishedPacking();
}

// What a kill left of packing a version; the version itself is still whole.
void HistoryFolder::clearUnfinishedPacking() {
    if (m_kept < 0 || m_problem != Problem::None)
        return;
    QList<QByteArray> left;
    eachEntry(m_kept, [&left](const QByteArray& name, unsigned char) {
        const QString text = QFile::decodeName(name);
        if (text.endsWith(kPackingSuffix) && parseKeptName(text.chopped(kPackingSuffix.size())))
            left << name;
    });
    for (const QByteArray& name : left)
        if (isPlainAt(m_kept, name))
            ::unlinkat(m_kept, name.constData(), 0);
}

int HistoryFolder::openFolder(int parent, const char* name, bool create) {
    if (create && ::mkdirat(parent, name, 0755) != 0 && errno != EEXIST)
        return -1;
    const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | kOpenFlags);
    if (fd >= 0)
        return fd;
    const int error = errno;
    if (error == ENOENT)
        return -1;
    if (isLinkAt(parent, name))
        note(Problem::Link, error);
    else if (error == ENOTDIR)
        note(Problem::NotFolder, error);
    else
        note(Problem::Unreadable, error);
    return -1;
}

void HistoryFolder::note(Problem problem, int error) {
    if (m_problem != Problem::None)
        return;
    m_problem = problem;
    m_problemError = error;
}

void HistoryFolder::checkForLinks(int folder) {
    const int error = eachEntry(folder, [this, folder](const QByteArray& name, unsigned char type) {
        if (type == DT_LNK || (type == DT_UNKNOWN && isLinkAt(folder, name)))
            note(Problem::Link, 0);
    });
    if (error != 0)
        note(Problem::Unreadable, error);
}

// Never the data folder itself: only the start makes one, and only the
// per-user one. A data folder that is gone stays gone, and its save fails.
bool HistoryFolder::makeFolders() {
    if (m_problem != Problem::None)
        return false;
    if (m_dataFd < 0)
        m_dataFd = ::open(native(m_data).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_dataFd >= 0 && m_history < 0)
        m_history = openFolder(m_dataFd, kHistoryFolderName, true);
    if (m_history >= 0 && m_changes < 0)
        m_changes = openFolder(m_history, "changes", true);
    if (m_history >= 0 && m_kept < 0)
        m_kept = openFolder(m_history, "kept", true);
    return m_problem == Problem::None && m_changes >= 0 && m_kept >= 0;
}

QString HistoryFolder::keep(ChangeId changeId, const QString& fileName, const QString& realPath, bool mayLink,
                            qint64* bytes) {
    if (!makeFolders())
        return QString();
    const QString kept = keptName(changeId, fileName);
    const QByteArray name = native(kept);
    if (isPlainAt(m_kept, name)) // left by a killed run
        ::unlinkat(m_kept, name.constData(), 0);
    // A link costs nothing whatever the size; other file systems, or a data
    // file elsewhere through a symbolic link, get a copy.
    bool done = mayLink && ::linkat(AT_FDCWD, native(realPath).constData(), m_kept, name.constData(), 0) == 0;
    if (!done) {
        const int in = ::open(native(realPath).constData(), O_RDONLY | O_CLOEXEC);
        const int out = ::openat(m_kept, name.constData(), O_WRONLY | O_CREAT | O_EXCL | kOpenFlags, 0644);
        done = in >= 0 && out >= 0 && copyAll(in, out);
        if (out >= 0)
            done = ::close(out) == 0 && done;
        if (in >= 0)
            ::close(in);
        if (!done && out >= 0)
            ::unlinkat(m_kept, name.constData(), 0);
    }
    struct stat info {};
    if (!done || ::fstatat(m_kept, name.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return QString();
    *bytes = qint64(info.st_size);
    return kept;
}

bool HistoryFolder::readKept(const QString& kept, QByteArray& bytes) const {
    if (m_kept < 0 || m_problem != Problem::None || !parseKeptName(kept))
        return false;
    const int fd = ::openat(m_kept, native(kept).constData(), O_RDONLY | O_NONBLOCK | kOpenFlags);
    if (!readPlain(fd, bytes, std::numeric_limits<qint64>::max()))
        return false;
    if (!isPacked(bytes))
        return true;
    const std::optional<QByteArray> version = unpackVersion(bytes);
    bytes = version.value_or(QByteArray());
    return version.has_value();
}

// Written in full and flushed under a name of its own before it takes the
// version's name: a kill leaves the version as it was, or packed.
bool HistoryFolder::packKept(const QString& kept, const QString& hash) {
    if (m_kept < 0 || m_problem != Problem::None || !parseKeptName(kept))
        return false;
    const QByteArray name = native(kept);
    const int in = ::openat(m_kept, name.constData(), O_RDONLY | O_NONBLOCK | kOpenFlags);
    // Most are packed already: their first bytes tell, without reading them whole.
    char head[64];
    const ssize_t n = in < 0 ? -1 : ::pread(in, head, sizeof head, 0);
    if (n >= 0 && isPacked(QByteArray(head, qsizetype(n)))) {
        ::close(in);
        return true;
    }
    QByteArray stored;
    if (!readPlain(in, stored, std::numeric_limits<qint64>::max()) || hash.isEmpty() ||
        contentHash(stored) != hash)
        return false;
    const QByteArray packed = packVersion(stored);
    const QByteArray packing = native(kept + kPackingSuffix);
    const int fd = ::openat(m_kept, packing.constData(), O_WRONLY | O_CREAT | O_TRUNC | kOpenFlags, 0644);
    if (fd < 0)
        return false;
    bool done = !packed.isEmpty() && writeAll(fd, packed.constData(), packed.size()) && ::fsync(fd) == 0;
    done = ::close(fd) == 0 && done;
    if (done && ::renameat(m_kept, packing.constData(), m_kept, name.constData()) == 0)
        return true;
    ::unlinkat(m_kept, packing.constData(), 0);
    return false;
}

void HistoryFolder::removeKept(const QString& kept) {
    const QByteArray name = native(kept);
    if (m_kept >= 0 && m_problem == Problem::None && parseKeptName(kept) && isPlainAt(m_kept, name))
        ::unlinkat(m_kept, name.constData(), 0);
}

QStringList HistoryFolder::keptNames() const {
    QStringList names;
    if (m_kept < 0)
        return names;
    eachEntry(m_kept, [this, &names](const QByteArray& name, unsigned char type) {
        const QString text = QFile::decodeName(name);
        if (parseKeptName(text) && isPlainEntry(m_kept, name, type))
            names << text;
    });
    names.sort();
    return names;
}

bool HistoryFolder::writeChange(const Change& change) {
    if (!makeFolders())
        return false;
    const QByteArray writing = native(recordWritingName(change.id));
    const int fd = ::openat(m_changes, writing.constData(), O_WRONLY | O_CREAT | O_TRUNC | kOpenFlags, 0644);
    if (fd < 0)
        return false;
    const QByteArray bytes = serialize(change);
    const bool written = writeAll(fd, bytes.constData(), bytes.size());
    const bool closed = ::close(fd) == 0;
    if (written && closed &&
        ::renameat(m_changes, writing.constData(), m_changes, native(recordName(change.id)).constData()) == 0)
        return true;
    ::unlinkat(m_changes, writing.constData(), 0);
    return false;
}

void HistoryFolder::removeChange(ChangeId id) {
    const QByteArray name = native(recordName(id));
    if (m_changes >= 0 && m_problem == Problem::None && isPlainAt(m_changes, name))
        ::unlinkat(m_changes, name.constData(), 0);
}

HistoryFolder::Reading HistoryFolder::readChanges() {
    Reading reading;
    if (m_problem != Problem::None) {
        reading.listed = false;
        reading.error = m_problemError;
        return reading;
    }
    if (m_changes < 0)
        return reading;
    QList<QByteArray> names;
    reading.error = eachEntry(m_changes, [&names](const QByteArray& name, unsigned char) { names << name; });
    if (reading.error != 0) {
        reading.listed = false;
        return reading;
    }
    for (const QByteArray& name : names) {
        const QString text = QFile::decodeName(name);
        if (recordWritingId(text) != 0) { // a write a kill cut short
            if (isPlainAt(m_changes, name))
                ::unlinkat(m_changes, name.constData(), 0);
            continue;
        }
        const ChangeId id = recordId(text);
        if (id == 0)
            continue;
        QByteArray bytes;
        const int fd = ::openat(m_changes, name.constData(), O_RDONLY | O_NONBLOCK | kOpenFlags);
        std::optional<Change> change;
        if (readPlain(fd, bytes, kLargestRecord))
            change = parseChange(bytes);
        if (change && change->id == id && namesAreOurs(*change))
            reading.changes.append(*change);
        else
            reading.unreadable.append(id);
    }
    std::sort(reading.changes.begin(), reading.changes.end(),
              [](const Change& a, const Change& b) { return a.id < b.id; });
    std::sort(reading.unreadable.begin(), reading.unreadable.end());
    return reading;
}

ChangeId HistoryFolder::highestId() const {
    ChangeId highest = 0;
    if (m_changes >= 0)
        eachEntry(m_changes, [&highest](const QByteArray& name, unsigned char) {
            const QString text = QFile::decodeName(name);
            highest = std::max({highest, recordId(text), recordWritingId(text)});
        });
    for (const QString& name : keptNames())
        highest = std::max(highest, parseKeptName(name)->id);
    return highest;
}

} // namespace history
