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
    QList<int> done;          // what undo can take back, the latest last
    QList<int> undone;        // what redo can bring back, the latest last
    QHash<int, int> undoneBy; // a change on the redo side -> the undo that took it back

    int nextUndo() const { return done.isEmpty() ? 0 : done.last(); }
    int nextRedo() const { return undone.isEmpty() ? 0 : undone.last(); }
};

// changes oldest first; only closed ones count.
UndoState undoState(const QList<Change>& changes);

} // namespace history
