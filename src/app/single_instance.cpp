#include "app/single_instance.h"

#include <QFile>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

SingleInstance::~SingleInstance() {
    // The holder keeps the lock until the process ends; closing only matters in tests.
    if (m_fd >= 0)
        ::close(m_fd);
}

QString SingleInstance::lockPath() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return QString::fromLocal8Bit(runtime) + QStringLiteral("/Aobaroku.lock");
    return QStringLiteral("/tmp/Aobaroku-%1.lock").arg(::getuid());
}

bool SingleInstance::tryLock() {
    if (m_fd >= 0)
        return true;
    const int fd = ::open(QFile::encodeName(lockPath()).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    // Without a lock file there is nothing to guard with; starting beats refusing to start.
    if (fd < 0)
        return true;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}
