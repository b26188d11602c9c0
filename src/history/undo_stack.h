#pragma once

#include "history/change.h"

#include <QHash>
#include <QList>

namespace history {

// Where Ctrl+Z and redo stand, worked out from the changes alone so that it
// holds across runs: commands and restores stack up and drop what could be
// redone; an undo moves its change over to the redo side, a redo moves it back.
// The loads of unreadable files are no step of either.
struct UndoState {
    QList<ChangeId> done;               // what undo can take back, the latest last
    QList<ChangeId> undone;             // what redo can bring back, the latest last
    QHash<ChangeId, ChangeId> undoneBy; // a change on the redo side -> the undo that took it back

    ChangeId nextUndo() const { return done.isEmpty() ? 0 : done.last(); }
    ChangeId nextRedo() const { return undone.isEmpty() ? 0 : undone.last(); }
};

// changes oldest first; only closed ones count.
UndoState undoState(const QList<Change>& changes);

} // namespace history
