#include "store/folder_lock.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store {

namespace {

bool isPlainFile(int fd) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

// Made with exactly these permissions, whatever the umask: another user's
// start must be able to open it to find it held. Never through a link, so
// nothing is made outside the folder; never waiting on a pipe planted under
// the name. A lock needs no more than reading.
int openLockFile(const QByteArray& path, mode_t permissions) {
    const int flags = O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
    const int made = ::open(path.constData(), flags | O_CREAT | O_EXCL, permissions);
    if (made >= 0) {
        ::fchmod(made, permissions);
        return made;
    }
    return errno == EEXIST ? ::open(path.constData(), flags) : -1;
}

// 0 once the lock is taken, else why not: EWOULDBLOCK while another holds it;
// ENOLCK, EOPNOTSUPP or EINVAL where the file system cannot lock.
int lockAtOnce(int fd) {
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        if (errno != EINTR)
            return errno;
    return 0;
}

} // namespace

LockFile::~LockFile() {
    // The holder keeps the lock until the process ends; closing only matters in tests.
    if (m_fd >= 0)
        ::close(m_fd);
}

LockFile::Result LockFile::take(const QString& path, int permissions) {
    if (m_fd >= 0)
        return Result::Taken;
    const int fd = openLockFile(QFile::encodeName(path), mode_t(permissions));
    if (fd < 0)
        return Result::Unavailable;
    const int error = isPlainFile(fd) ? lockAtOnce(fd) : EINVAL;
    if (error != 0) {
        ::close(fd);
        return error == EWOULDBLOCK ? Result::HeldByOther : Result::Unavailable;
    }
    m_fd = fd;
    return Result::Taken;
}

} // namespace store
