#include "store/locations.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace store {

namespace {

// The starter catalogue and the sample plan behind the button サンプル.
const QStringList kStarterFiles = {QStringLiteral("sakumotu.xml"), QStringLiteral("sakutuke4.xml")};

QString withSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

QString homeFromPasswordDatabase() {
    const passwd* entry = ::getpwuid(::getuid());
    return entry && entry->pw_dir ? QFile::decodeName(entry->pw_dir) : QString();
}

// The XDG rule: a relative $XDG_DATA_HOME is ignored.
QString dataHome(const Surroundings& where) {
    if (!where.xdgDataHome.isEmpty() && QDir::isAbsolutePath(where.xdgDataHome))
        return where.xdgDataHome;
    return where.home + QStringLiteral("/.local/share");
}

// Beside the executable first, then where a package puts it.
QString shippedFolder(const Surroundings& where, const QString& beside, const QString& shared) {
    const QString local = where.executableFolder + QLatin1Char('/') + beside;
    if (QFileInfo(local).isDir())
        return withSlash(local);
    const QString installed =
        QDir::cleanPath(where.executableFolder + QStringLiteral("/../share/aobaroku/") + shared);
    if (QFileInfo(installed).isDir())
        return withSlash(installed);
    return withSlash(local);
}

// Missing parents are made private too, as the XDG rules ask.
bool makePrivateFolder(const QString& path) {
    if (QFileInfo(path).isDir())
        return true;
    const QString parent = QFileInfo(path).path();
    if (parent != path && !makePrivateFolder(parent))
        return false;
    return ::mkdir(QFile::encodeName(path).constData(), 0700) == 0 || QFileInfo(path).isDir();
}

// The lock file is made before the starter files, so a first start cut short
// in between still counts as one.
bool isEmptyFolder(const QString& path) {
    const QStringList entries =
        QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    return entries.isEmpty() || entries == QStringList{kFolderLockName};
}

void placeStarterFiles(const QString& from, const QString& to) {
    for (const QString& name : kStarterFiles)
        if (!QFileInfo::exists(to + name) && QFileInfo::exists(from + name))
            QFile::copy(from + name, to + name);
}

} // namespace

Surroundings Surroundings::ofThisProcess() {
    Surroundings where;
    where.executableFolder =
        QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath()).path();
    where.home = qEnvironmentVariable("HOME");
    if (where.home.isEmpty())
        where.home = homeFromPasswordDatabase();
    where.xdgDataHome = qEnvironmentVariable("XDG_DATA_HOME");
    return where;
}

DataFolder chooseDataFolder(const Surroundings& where, const QString& given) {
    if (!given.isEmpty())
        return {DataFolder::Kind::Given, withSlash(QDir(given).absolutePath())};
    const QString beside = where.executableFolder + QStringLiteral("/data");
    if (QFileInfo(beside).isDir())
        return {DataFolder::Kind::Portable, withSlash(beside)};
    return {DataFolder::Kind::PerUser,
            withSlash(QDir::cleanPath(dataHome(where) + QStringLiteral("/aobaroku")))};
}

bool dataFolderExists(const DataFolder& folder) {
    return QFileInfo(folder.path).isDir();
}

FolderOpening openDataFolder(const DataFolder& folder, const Surroundings& where, LockFile& lock) {
    const bool perUser = folder.kind == DataFolder::Kind::PerUser;
    if (perUser ? !makePrivateFolder(QDir::cleanPath(folder.path)) : !dataFolderExists(folder))
        return FolderOpening::NotMade;
    const LockFile::Result locked = lockDataFolder(lock, folder.path);
    if (locked == LockFile::Result::HeldByOther)
        return FolderOpening::InUse;
    if (perUser && isEmptyFolder(folder.path))
        placeStarterFiles(starterFolder(where), folder.path);
    return locked == LockFile::Result::Taken ? FolderOpening::Ready : FolderOpening::Unlocked;
}

QString siteFolder(const Surroundings& where) {
    return shippedFolder(where, QStringLiteral("site"), QStringLiteral("site"));
}

QString starterFolder(const Surroundings& where) {
    return shippedFolder(where, QStringLiteral("starter"), QStringLiteral("starter"));
}

} // namespace store
