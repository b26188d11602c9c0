#pragma once

#include "store/save_recorder.h"

#include <QString>

namespace store {
class XmlDocument;
}

namespace history {

// The records a file holds: a plan's entries, three levels below the root,
// every other file's elements under the root. From the counts a save made
// while writing (-1 when not known), or from a document read in full.
int recordsOf(const QString& fileName, const store::ElementCounts& counts);
int recordsOf(const QString& fileName, const store::XmlDocument& doc);
// Reads the file to count them; only for versions the program never read or
// wrote itself. 0 for a missing file, -1 for one that cannot be read.
int countRecords(const QString& path, const QString& fileName);

} // namespace history
