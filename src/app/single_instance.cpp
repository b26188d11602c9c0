#include "app/single_instance.h"

#include <unistd.h>

QString SingleInstance::lockPath() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return QString::fromLocal8Bit(runtime) + QStringLiteral("/Aobaroku.lock");
    return QStringLiteral("/tmp/Aobaroku-%1.lock").arg(::getuid());
}

bool SingleInstance::tryLock() {
    // Without a lock file there is nothing to guard with; starting beats refusing to start.
    return m_lock.take(lockPath(), 0600) != store::LockFile::Result::HeldByOther;
}
