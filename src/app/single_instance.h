#pragma once

#include "store/folder_lock.h"

#include <QString>

// The system-wide lock named after "Aobaroku": a flock on a lock file in the
// user's runtime folder, which the kernel releases when the process ends, even
// on kill -9, so an abandoned lock counts as free. It guards one user's session;
// the data folder's own lock (store::lockDataFolder) guards the notebook.
class SingleInstance {
public:
    // Takes the lock without waiting; false when another running instance holds it.
    bool tryLock();
    static QString lockPath();

private:
    store::LockFile m_lock;
};
