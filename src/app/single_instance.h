#pragma once

#include <QString>

// The system-wide lock named after "Aobaroku": a flock on a lock file in the
// user's runtime folder, which the kernel releases when the process ends, even
// on kill -9, so an abandoned lock counts as free.
class SingleInstance {
public:
    SingleInstance() = default;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;
    ~SingleInstance();

    // Takes the lock without waiting; false when another running instance holds it.
    bool tryLock();
    static QString lockPath();

private:
    int m_fd = -1;
};
