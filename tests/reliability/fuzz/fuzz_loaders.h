#pragma once

#include "file_kinds.h"

#include <QByteArray>
#include <QString>

namespace rel {

// Puts the bytes in a data folder of their own as the kind's file and runs its
// loader, then saves what was read and reads it again. Returns what broke the
// loader's promises, or an empty text: at most one message, and its own; what
// was read comes back unchanged; a file that could not be read in full is
// copied aside, byte for byte, before the save replaces it.
QString replayThroughLoader(const Kind& kind, const QByteArray& bytes);

} // namespace rel
