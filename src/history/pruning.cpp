#include "history/pruning.h"

#include <algorithm>

namespace history {

QList<ChangeId> changesToPrune(const QList<Change>& changes, qint64 dataBytes, const Limits& limits) {
    qint64 weight = 0;
    for (const Change& c : changes)
        weight += c.keptBytes();
    const qint64 allowed = std::max(limits.minBytes, qint64(limits.dataFactor) * dataBytes);
    const qsizetype prunable = std::max<qsizetype>(0, changes.size() - limits.keepLatest);
    QList<ChangeId> drop;
    for (qsizetype i = 0; i < prunable; ++i) {
        const qsizetype left = changes.size() - i;
        if (left <= limits.maxChanges && weight <= allowed)
            break;
        drop.append(changes[i].id);
        weight -= changes[i].keptBytes();
    }
    return drop;
}

} // namespace history
