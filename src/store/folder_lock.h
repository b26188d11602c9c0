#pragma once

#include "store/notebook_files.h"

#include <QString>

namespace store {

// An exclusive flock, taken without waiting, on a file that is made empty
// when missing and is never written or removed. The kernel drops the lock when
// the process ends, even on kill -9, so a lock left behind counts as free.
class LockFile {
public:
    enum class Result {
        Taken,       // held by this object until it goes, or the process ends
        HeldByOther, // another open of the file holds it, in this process or another
        Unavailable, // the file cannot be made or opened, or its file system cannot lock
    };

    LockFile() = default;
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;
    ~LockFile();

    // permissions: the mode of a file made here, whatever the umask.
    Result take(const QString& path, int permissions);

private:
    int m_fd = -1;
};

// One program at a time on one data folder, whoever starts it: another session
// of the same user, a start without a runtime folder, another user with --data.
// Readable by all, so that another user's start can take the lock to find it held.
// folder ends with '/'.
inline LockFile::Result lockDataFolder(LockFile& lock, const QString& folder) {
    return lock.take(folder + kFolderLockName, 0644);
}

} // namespace store
