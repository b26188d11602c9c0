#include "schedule/task_merge.h"

#include "store/text_lines.h"

#include <QHash>
#include <utility>

namespace {

struct SlotKey {
    QString name;
    QString tuki;
    QString shuu;

    friend bool operator==(const SlotKey&, const SlotKey&) = default;
};

size_t qHash(const SlotKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.name, key.tuki, key.shuu);
}

// The number of the key, a new one for a key not seen before.
template <class Key> int numberOf(QHash<Key, int>& numbers, const Key& key) {
    auto it = numbers.constFind(key);
    if (it == numbers.constEnd())
        it = numbers.insert(key, int(numbers.size()));
    return it.value();
}

// Where each task stands among the later tasks of the list.
struct Standing {
    QList<int> slot;          // slot number of each position
    QList<int> noteGroup;     // number of its slot-and-note group
    QList<int> laterInSlot;   // later tasks of the same slot
    QList<int> laterSameNote; // of those, the ones with an equal note
    int slotCount = 0;
};

Standing standingOf(const QList<TYotei*>& tasks) {
    Standing s;
    QHash<SlotKey, int> slotNumbers;
    QHash<std::pair<int, QString>, int> groups;
    for (const TYotei* task : tasks) {
        const int slot = numberOf(slotNumbers, SlotKey{task->name, task->tuki, task->shuu});
        const int group = numberOf(groups, std::pair(slot, task->NoteText()));
        s.slot.append(slot);
        s.noteGroup.append(group);
    }
    s.slotCount = int(slotNumbers.size());
    QList<int> seenInSlot(s.slotCount, 0);
    QList<int> seenInGroup(groups.size(), 0);
    s.laterInSlot.resize(tasks.size());
    s.laterSameNote.resize(tasks.size());
    for (qsizetype i = tasks.size() - 1; i >= 0; --i) {
        s.laterInSlot[i] = seenInSlot[s.slot[i]]++;
        s.laterSameNote[i] = seenInGroup[s.noteGroup[i]]++;
    }
    return s;
}

void appendRepeated(QList<TYotei*>& out, TYotei* task, int times) {
    for (int n = 0; n < times; ++n)
        out.append(task);
}

QString slotText(const TYotei& task) {
    return task.tuki + QLatin1Char('/') + task.shuu + QLatin1Char('/') + task.name;
}

} // namespace

namespace yotei_merge {

QList<TYotei*> duplicates(const QList<TYotei*>& tasks) {
    const Standing s = standingOf(tasks);
    QList<TYotei*> out;
    for (qsizetype i = 0; i < tasks.size(); ++i)
        appendRepeated(out, tasks[i], s.laterSameNote[i]);
    return out;
}

QList<TYotei*> mergeable(const QList<TYotei*>& tasks) {
    const Standing s = standingOf(tasks);
    QList<TYotei*> out;
    for (qsizetype i = 0; i < tasks.size(); ++i)
        appendRepeated(out, tasks[i], s.laterInSlot[i] - s.laterSameNote[i]);
    return out;
}

QList<bool> withoutDuplicates(const QList<TYotei*>& tasks) {
    const Standing s = standingOf(tasks);
    QList<bool> keep(tasks.size(), true);
    for (qsizetype i = 0; i < tasks.size(); ++i)
        keep[i] = s.laterSameNote[i] == 0;
    return keep;
}

QList<bool> mergeSameWeek(const QList<TYotei*>& tasks) {
    const Standing s = standingOf(tasks);
    QList<QList<qsizetype>> members(s.slotCount);
    QList<bool> notesDiffer(s.slotCount, false);
    for (qsizetype i = 0; i < tasks.size(); ++i) {
        QList<qsizetype>& slot = members[s.slot[i]];
        if (!slot.isEmpty() && s.noteGroup[slot.first()] != s.noteGroup[i])
            notesDiffer[s.slot[i]] = true;
        slot.append(i);
    }
    QList<bool> keep(tasks.size(), true);
    for (int slot = 0; slot < s.slotCount; ++slot) {
        if (!notesDiffer[slot])
            continue;
        const QList<qsizetype>& m = members[slot];
        TYotei* kept = tasks[m.last()];
        for (qsizetype k = m.size() - 2; k >= 0; --k) {
            const QStringList lines = tasks[m[k]]->note;
            kept->note << QStringLiteral("-----") << lines << QString();
            keep[m[k]] = false;
        }
    }
    return keep;
}

} // namespace yotei_merge

QStringList MergeReport(const TYoteiList& list) {
    QStringList lines;
    for (const TYotei* task : yotei_merge::duplicates(list.items()))
        lines << QStringLiteral("[重複]") + slotText(*task) + QLatin1Char('/') + task->note.join(QString());
    TYoteiRefList working(list.items());
    working.RemoveDuplicates();
    for (const TYotei* task : yotei_merge::mergeable(working.items()))
        lines << QStringLiteral("[まとめられる]") + slotText(*task);
    return lines;
}
