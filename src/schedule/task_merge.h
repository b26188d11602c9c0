#pragma once

#include "schedule/task_records.h"

#include <QList>
#include <QStringList>

// Repeated tasks. Two tasks share a slot when name, month and week texts are
// exactly equal; their notes are equal when the note texts (every line followed
// by CR LF) are exactly equal. Each function looks at the whole list once, so a
// schedule of thousands of tasks is handled without comparing every pair.

namespace yotei_merge {

// Every task once for each later task of its slot with an equal note, in list
// order: k identical tasks give k(k-1)/2 entries.
QList<TYotei*> duplicates(const QList<TYotei*>& tasks);
// The same for later tasks of the slot whose note differs.
QList<TYotei*> mergeable(const QList<TYotei*>& tasks);
// Which positions stay when each group of equal tasks shrinks to its last member.
QList<bool> withoutDuplicates(const QList<TYotei*>& tasks);
// For every slot holding differing notes, its last task takes the notes of the
// others, from the end of the list towards the front, each as "-----", its
// lines and an empty line. Gives the positions that stay: the slot's others go.
QList<bool> mergeSameWeek(const QList<TYotei*>& tasks);

} // namespace yotei_merge

// The lines the merge window shows before anything is changed: "[重複]" lines
// for the duplicates, then "[まとめられる]" lines for what stays mergeable once
// the duplicates are gone. Touches neither the list nor any task.
QStringList MergeReport(const TYoteiList& list);
