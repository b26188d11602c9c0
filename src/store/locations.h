#pragma once

#include "store/folder_lock.h"

#include <QString>

namespace store {

// What the start of the program looks at to find its files: the folder of the
// executable and the user's environment. The program reads its own with
// ofThisProcess(); tests fill one in with temporary folders.
struct Surroundings {
    QString executableFolder; // without a closing slash
    QString home;             // the user's home folder
    QString xdgDataHome;      // $XDG_DATA_HOME as set; empty when unset

    static Surroundings ofThisProcess();
};

// The folder that holds the notebook's files, decided once at start.
struct DataFolder {
    enum class Kind {
        Given,    // named on the command line with --data
        Portable, // "data" beside the executable, as the Windows copy keeps it
        PerUser,  // $XDG_DATA_HOME/aobaroku, made at the first start
    };
    Kind kind = Kind::Portable;
    QString path; // absolute, ending with '/'
};

// --data when given (empty: not given), else "data" beside the executable when
// that folder exists, else the per-user folder. Looks only; creates nothing.
DataFolder chooseDataFolder(const Surroundings& where, const QString& given = QString());

bool dataFolderExists(const DataFolder& folder);

// What the start finds when it opens the data folder.
enum class FolderOpening {
    Ready,    // the folder is there and this program holds its lock
    Unlocked, // the folder is there, but its file system or its permissions allow no lock
    InUse,    // another program holds the folder: this one must end, having touched nothing
    NotMade,  // the folder is missing and cannot be made (only the per-user one ever is)
};

// Makes the folder, locks it into `lock`, and only then, at the first start of
// a per-user folder, places the starter files: a start that finds the notebook
// open elsewhere copies nothing. The per-user folder is the only data folder
// the program makes: with mode 0700, and when missing or empty (its lock file
// aside) it receives the starter files, each only where no file of that name
// exists. Other kinds are left exactly as they are, their lock file aside.
FolderOpening openDataFolder(const DataFolder& folder, const Surroundings& where, LockFile& lock);

// Folders that ship with the program, ending with '/': beside the executable
// (the build tree and the portable layout), else ../share/aobaroku/NAME as a
// package installs them, so an unpacked package works from any root.
QString siteFolder(const Surroundings& where);
QString starterFolder(const Surroundings& where);

} // namespace store
