#pragma once

#include <QByteArray>
#include <QString>

namespace store {

// Writes the bytes to a temporary file beside the path, flushes and renames it
// over the old file. Throws SaveError; on failure the old file is untouched.
void saveBytes(const QString& path, const QByteArray& bytes);

// A file that could not be read in full is copied aside as
// "<name>.unreadable-<yyyyMMdd-HHmmss>" before it is first overwritten.
void noteUnreadable(const QString& path);
bool isNotedUnreadable(const QString& path);

} // namespace store
