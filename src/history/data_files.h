#pragma once

#include "store/outside_write.h"
#include "store/save_recorder.h"

#include <QString>
#include <QStringList>

namespace history {

// The data files whose versions the history keeps: the crop catalogue, the
// eight plans, the schedule, the purchases, the favourites and the seasons'
// files. The favourites page is made from the favourites and is never kept.
const QStringList& dataFileNames();
bool isDataFile(const QString& fileName);
// The notebook in that folder as no export or image may replace it: the data
// files, the page made from the favourites and the history folder.
store::NotebookFiles notebookFiles(const QString& dataFolder);

// The records a file holds: a plan's entries, three levels below the root,
// every other file's elements under the root. From the counts a save made
// while writing (-1 when not known), or from a document read in full.
int recordsOf(const QString& fileName, const store::ElementCounts& counts);
int recordsOf(const QString& fileName, const store::XmlDocument& doc);
// Reads the file to count them; only for versions the program never read or
// wrote itself. 0 for a missing file, -1 for one that cannot be read.
int countRecords(const QString& path, const QString& fileName);

// Bytes of every data file in the folder.
qint64 dataBytes(const QString& folder);

} // namespace history
