#pragma once

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

// The per-user folder is the only data folder the program makes. At the first
// start (the folder missing or empty) it is made with mode 0700 and receives
// the starter files, each only where no file of that name exists. Other kinds
// are left exactly as they are. False when the folder cannot be made.
bool prepareDataFolder(const DataFolder& folder, const Surroundings& where);

// Folders that ship with the program, ending with '/': beside the executable
// (the build tree and the portable layout), else ../share/aobaroku/NAME as a
// package installs them, so an unpacked package works from any root.
QString siteFolder(const Surroundings& where);
QString starterFolder(const Surroundings& where);

} // namespace store
