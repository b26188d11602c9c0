#pragma once

#include <QByteArray>
#include <QString>

namespace store {

// A checksum of a version's bytes, as records keep it: "crc32:1a2b3c4d". It
// tells a kept version from one cut short or garbled on disk; nobody who can
// write the history could be kept out by a stronger one, since they could
// rewrite the record too.
QString contentHash(const QByteArray& bytes);

} // namespace store
