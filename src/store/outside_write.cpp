#include "store/outside_write.h"

#include "store/save_file.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace store {

namespace {

// As many links as the system itself follows before it gives up.
constexpr int kMostLinks = 40;

struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const Identity&) const = default;
};

Identity identityOf(const struct stat& st) {
    return {st.st_dev, st.st_ino};
}

std::optional<Identity> identityAt(const QString& path) {
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return identityOf(st);
}

QString joined(const QString& folder, const QString& name) {
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

QString realPath(const QString& path, int& error) {
    char* real = ::realpath(QFile::encodeName(path).constData(), nullptr);
    if (!real) {
        error = errno;
        return QString();
    }
    const QString text = QFile::decodeName(real);
    std::free(real);
    return text;
}

// A descriptor closed when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }
    void reset(int fd) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

// The real folder a file would be written in and its name there.
struct Target {
    QString folder;
    QString name;
    QString path() const { return joined(folder, name); }
};

std::optional<Target> resolve(const QString& given, int& error) {
    QString path = QDir::isAbsolutePath(given) ? given : QDir::current().filePath(given);
    for (int hop = 0; hop <= kMostLinks; ++hop) {
        struct stat st;
        const QByteArray native = QFile::encodeName(path);
        if (::lstat(native.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
            char link[PATH_MAX];
            const ssize_t length = ::readlink(native.constData(), link, sizeof link);
            if (length < 0) {
                error = errno;
                return std::nullopt;
            }
            const QString to = QFile::decodeName(QByteArray(link, length));
            path = QDir::isAbsolutePath(to) ? to : joined(QFileInfo(path).path(), to);
            continue;
        }
        const QFileInfo info(path);
        const QString name = info.fileName();
        // A name that stands for a folder ("x/", "..") is that folder, wherever it really is.
        const bool namesAFolder = name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..");
        const QString real = realPath(namesAFolder ? path : info.path(), error);
        if (real.isEmpty())
            return std::nullopt;
        if (!namesAFolder)
            return Target{real, name};
        const QFileInfo folder(real);
        return Target{folder.path(), folder.fileName()};
    }
    error = ELOOP;
    return std::nullopt;
}

// Why a file could not be written to path after the system error `error`.
QString failureReason(const QString& path, int error) {
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        return QStringLiteral("保存先のフォルダーがありません。");
    if (info.isDir())
        return QStringLiteral("同じ名前のフォルダーがあります。");
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("保存先のフォルダーがありません。");
    case ELOOP:
        return QStringLiteral("リンクが循環しています。");
    case ENAMETOOLONG:
        return QStringLiteral("ファイル名が長すぎます。");
    default: {
        const QString cause = failureCause(error);
        return cause.isEmpty() ? QString::fromLocal8Bit(std::strerror(error)) : cause;
    }
    }
}

// Where the notebook is on disk: its folder and its own folders, each
// followed to where it really is.
class NotebookPlaces {
public:
    explicit NotebookPlaces(const NotebookFiles& files) : m_files(files) {
        int error = 0;
        m_folder = realPath(files.folder, error);
        if (m_folder.isEmpty())
            return;
        m_data = identityAt(m_folder);
        for (const QString& name : files.folderNames)
            if (const std::optional<Identity> id = identityAt(joined(m_folder, name)))
                m_ownFolders << *id;
    }

    // A file of that name in the data folder would be the notebook's. The
    // comparison ignores case, as the file systems of sticks and Windows shares do.
    bool isNotebookName(const QString& name) const {
        for (const QString& file : m_files.fileNames)
            if (name.compare(file, Qt::CaseInsensitive) == 0 ||
                name.startsWith(file + QLatin1Char('.'), Qt::CaseInsensitive))
                return true;
        for (const QString& folder : m_files.folderNames)
            if (name.compare(folder, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    }

    bool holds(int folderFd, const QString& name) const {
        if (!m_data)
            return false;
        struct stat folder;
        if (::fstat(folderFd, &folder) != 0)
            return true;
        if (identityOf(folder) == *m_data && isNotebookName(name))
            return true;
        if (insideOwnFolder(folderFd))
            return true;
        struct stat existing;
        if (::fstatat(folderFd, QFile::encodeName(name).constData(), &existing, 0) != 0)
            return false;
        const Identity id = identityOf(existing);
        if (S_ISDIR(existing.st_mode))
            return id == *m_data || m_ownFolders.contains(id);
        return isNotebookFile(id, existing.st_nlink > 1);
    }

private:
    // Climbs from the folder to the root by its descriptors, so that no link
    // on the way can tell a different story than the folder really written in.
    bool insideOwnFolder(int folderFd) const {
        if (m_ownFolders.isEmpty())
            return false;
        Fd current(::dup(folderFd));
        for (int depth = 0; depth < PATH_MAX && current.get() >= 0; ++depth) {
            struct stat here;
            if (::fstat(current.get(), &here) != 0)
                return true;
            if (m_ownFolders.contains(identityOf(here)))
                return true;
            Fd parent(::openat(current.get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
            struct stat up;
            if (parent.get() < 0 || ::fstat(parent.get(), &up) != 0 || identityOf(up) == identityOf(here))
                return false;
            current.reset(parent.release());
        }
        return false;
    }

    // The notebook's files, each followed through a link to where it really is;
    // the files inside its own folders only when the target has other names.
    bool isNotebookFile(const Identity& id, bool hasOtherNames) const {
        const QStringList entries =
            QDir(m_folder).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QString& entry : entries) {
            if (!isNotebookName(entry))
                continue;
            const QString path = joined(m_folder, entry);
            if (identityAt(path) == id)
                return true;
            if (hasOtherNames && QFileInfo(path).isDir() && holdsInside(path, id))
                return true;
        }
        return false;
    }

    static bool holdsInside(const QString& folder, const Identity& id) {
        QDirIterator it(folder, QDir::Files | QDir::System | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            struct stat st;
            if (::lstat(QFile::encodeName(it.next()).constData(), &st) == 0 && identityOf(st) == id)
                return true;
        }
        return false;
    }

    const NotebookFiles& m_files;
    QString m_folder;
    std::optional<Identity> m_data;
    QList<Identity> m_ownFolders;
};

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

// Writes the bytes beside the file under one fixed name, so a kill at the wrong
// moment leaves something known that the next write clears, then renames them
// over it. Gives the system's error, 0 when written.
int writeStaged(int folderFd, const QString& name, const QByteArray& bytes, const struct stat* existing) {
    const QByteArray target = QFile::encodeName(name);
    const QByteArray staging = target + ".saving";
    ::unlinkat(folderFd, staging.constData(), 0);
    Fd file(
        ::openat(folderFd, staging.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (file.get() < 0)
        return errno;
    int error = 0;
    if (!writeAll(file.get(), bytes) || (existing && ::fchmod(file.get(), existing->st_mode & 07777) != 0) ||
        ::fsync(file.get()) != 0 || ::close(file.release()) != 0 ||
        ::renameat(folderFd, staging.constData(), folderFd, target.constData()) != 0)
        error = errno;
    if (error != 0)
        ::unlinkat(folderFd, staging.constData(), 0);
    return error;
}

OutsideWrite failed(const QString& path, int error) {
    return {OutsideWrite::Result::Failed, failureReason(path, error)};
}

} // namespace

OutsideWrite writeOutsideNotebook(const QString& path, const QByteArray& bytes,
                                  const NotebookFiles& notebook) {
    int error = 0;
    const std::optional<Target> target = resolve(path, error);
    if (!target)
        return failed(path, error);
    Fd folder(::open(QFile::encodeName(target->folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() < 0)
        return failed(target->path(), errno);
    if (NotebookPlaces(notebook).holds(folder.get(), target->name))
        return {OutsideWrite::Result::Refused, QString()};
    struct stat existing;
    const bool exists =
        ::fstatat(folder.get(), QFile::encodeName(target->name).constData(), &existing, 0) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return failed(target->path(), EISDIR);
    if (const int written = writeStaged(folder.get(), target->name, bytes, exists ? &existing : nullptr))
        return failed(target->path(), written);
    return {};
}

QString realTarget(const QString& path) {
    int error = 0;
    if (const std::optional<Target> target = resolve(path, error))
        return target->path();
    return QDir::cleanPath(QDir::current().absoluteFilePath(path));
}

} // namespace store
