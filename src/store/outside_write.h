#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace store {

// The files that make up a notebook in its data folder. A file the user names
// (an export, an image) never takes the place of one of them, whatever path
// leads there: a symbolic link, a chain of them, "..", a link to the folder or
// a hard link to the file.
struct NotebookFiles {
    QString folder;          // the data folder
    QStringList fileNames;   // its files; "<name>.<more>" (a copy kept aside, an unfinished save) is one too
    QStringList folderNames; // its folders, with everything inside them
};

struct OutsideWrite {
    enum class Result { Written, Refused, Failed };
    Result result = Result::Written;
    QString reason; // Failed: why, in the user's words for the common causes
};

// Writes a file the user named, whole or not at all, unless it would replace
// a file of the notebook (Refused, and nothing changes). The file really
// written is decided once, with every link followed, and its folder is held
// open from the check to the rename: a link put in place meanwhile is itself
// replaced, never followed into the notebook. No history is kept of it.
OutsideWrite writeOutsideNotebook(const QString& path, const QByteArray& bytes,
                                  const NotebookFiles& notebook);

// The file a write to path would replace: absolute, every link followed,
// without "." or "..". The path as given, made absolute, when its folder does
// not exist.
QString realTarget(const QString& path);

} // namespace store
