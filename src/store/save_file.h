#pragma once

#include "store/save_recorder.h"

#include <QByteArray>
#include <QString>
#include <exception>

namespace store {

// Writes the bytes to a temporary file beside the path, flushes and renames it
// over the old file. Throws SaveError; on failure the old file is untouched.
void saveBytes(const QString& path, const QByteArray& bytes);
// The same, telling an installed SaveRecorder how many records the bytes hold.
void saveBytes(const QString& path, const QByteArray& bytes, const ElementCounts& counts);

// Off: the recorder neither hears of the save nor may refuse it. For the
// recorder's own writes (an undo putting a kept version back), which are no
// change of their own.
enum class Recording { On, Off };
void saveBytes(const QString& path, const QByteArray& bytes, Recording recording);

// Why a data file could not be saved, for a second line under the save
// message: the common causes a gardener can do something about, or what the
// one who refused the save said. Empty when neither is known.
QString failureCause(int error);
QString failureCause(const std::exception& e);

// A file that could not be read in full is copied aside as
// "<name>.unreadable-<yyyyMMdd-HHmmss>" before it is first overwritten.
void noteUnreadable(const QString& path);
bool isNotedUnreadable(const QString& path);

} // namespace store
