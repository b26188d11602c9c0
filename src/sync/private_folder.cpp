#include "sync/private_folder.h"

#include <QFile>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace syncing {

namespace {

constexpr mode_t kOthers = S_IRWXG | S_IRWXO;

// Reached through folder descriptors opened without following links: a link
// put inside the folder never takes the change elsewhere.
bool tightenEntries(int folder, int depth) {
    bool changed = false;
    const int listing = ::dup(folder);
    DIR* dir = listing < 0 ? nullptr : ::fdopendir(listing);
    if (!dir) {
        if (listing >= 0)
            ::close(listing);
        return false;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        struct stat info {};
        if (::fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISREG(info.st_mode) && (info.st_mode & kOthers)) {
            changed |= ::fchmodat(folder, name, info.st_mode & 0700 & ~S_IXUSR, 0) == 0;
        } else if (S_ISDIR(info.st_mode) && depth < 16) {
            const int inner = ::openat(folder, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (inner < 0)
                continue;
            if (info.st_mode & kOthers)
                changed |= ::fchmod(inner, 0700) == 0;
            changed |= tightenEntries(inner, depth + 1);
            ::close(inner);
        }
    }
    ::closedir(dir);
    return changed;
}

} // namespace

// Only a folder others can read or enter is walked: a private one is left as the user set it.
bool makePrivate(const QString& folder) {
    const int fd =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    bool changed = false;
    if (::fstat(fd, &info) == 0 && (info.st_mode & kOthers)) {
        changed = ::fchmod(fd, 0700) == 0;
        changed |= tightenEntries(fd, 0);
    }
    ::close(fd);
    return changed;
}

} // namespace syncing
