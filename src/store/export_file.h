#pragma once

#include <QByteArray>
#include <QString>

// Writes an export atomically, as the data files are written: the old file
// stays whole until every byte is on disk. Empty on success, otherwise the
// message to show; nothing is left behind and no folder is created.
// A file of the notebook in dataFolder is never replaced by an export, by
// whatever link or name it is reached.
QString writeExportFile(const QString& path, const QByteArray& bytes, const QString& dataFolder);
