#pragma once

#include "history/change.h"

#include <QList>

namespace history {

struct Limits {
    int maxChanges = 200;
    // The latest changes stay whatever they weigh.
    int keepLatest = 20;
    // The kept versions may weigh this much, or factor times the data files if that is more.
    qint64 minBytes = 50LL * 1024 * 1024;
    int dataFactor = 10;
    // Versions of this many bytes and more are stored packed once their change
    // is over. The weight above counts every version as it was, packed or not.
    qint64 packFrom = 512 * 1024;
};

// The changes to drop, oldest first: the oldest beyond the count, then the
// oldest while the kept versions weigh too much, never one of the latest.
QList<ChangeId> changesToPrune(const QList<Change>& changes, qint64 dataBytes, const Limits& limits);

} // namespace history
