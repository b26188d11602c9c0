#include "sync/known_files.h"

#include "history/version_check.h"

#include <QFile>

namespace syncing {

namespace {

constexpr qint64 kHashedOnRead = 4 * 1024 * 1024;

} // namespace

QString fileHash(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? history::contentHash(file.readAll()) : QString();
}

// A large file is not read twice at every load: a touch without a change
// then counts as a change, which costs a reload and nothing else.
void KnownFiles::noteRead(const QString& name, const QString& path) {
    const history::FileIdentity now = history::FileIdentity::of(path);
    m_seen.insert(name, Seen{now, now.exists && now.size <= kHashedOnRead ? fileHash(path) : QString()});
}

void KnownFiles::noteWritten(const QString& name, const QString& path, const QString& hash) {
    m_seen.insert(name, Seen{history::FileIdentity::of(path), hash});
}

void KnownFiles::forget(const QString& name) {
    m_seen.remove(name);
}

bool KnownFiles::changedOnDisk(const QString& name, const QString& path) {
    const auto seen = m_seen.find(name);
    if (seen == m_seen.end())
        return false;
    const history::FileIdentity now = history::FileIdentity::of(path);
    if (now == seen->identity)
        return false;
    if (!now.exists || !seen->identity.exists || now.size != seen->identity.size || seen->hash.isEmpty())
        return true;
    if (fileHash(path) != seen->hash)
        return true;
    seen->identity = now;
    return false;
}

} // namespace syncing
