#pragma once

#include "store/checksum.h"

#include <QByteArray>
#include <QString>

namespace history {

using store::contentHash;

// What a version about to be written back into the notebook must be.
struct Expected {
    QString fileName;  // the data file it is a version of
    qint64 bytes = -1; // -1: not known
    QString hash;      // empty: not known, then it must load instead
    int records = -1;  // -1: not known
};

// Why the version cannot be written back, in the words of the messages
// ("大きさが記録と違います"); empty when it is the version the record describes.
QString versionProblem(const QByteArray& bytes, const Expected& expected);

} // namespace history
