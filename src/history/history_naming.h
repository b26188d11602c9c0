#pragma once

#include "history/change.h"

#include <QString>
#include <optional>

namespace history {

// The names the history gives its own files. Nothing in its folders under any
// other name is ever read, written or deleted, and a record that names a file
// the history would not have made is not acted on.
inline constexpr ChangeId kLargestId = 999999999999999; // fifteen digits

// "00000017.change"; its unfinished write adds ".writing".
QString recordName(ChangeId id);
QString recordWritingName(ChangeId id);
// The id of a record's name, or 0 for any other name.
ChangeId recordId(const QString& name);
ChangeId recordWritingId(const QString& name);

// "00000017-yotei.xml": the version of a data file that change 17 replaced.
QString keptName(ChangeId id, const QString& dataFile);
struct KeptName {
    ChangeId id = 0;
    QString file;
};
std::optional<KeptName> parseKeptName(const QString& name);

// Every file the record names is a data file of the notebook, named once; its
// kept versions are its own, and its goals versions of the same file that an
// earlier change kept.
bool namesAreOurs(const Change& change);

} // namespace history
