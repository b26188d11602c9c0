#include "history/undo_stack.h"

namespace history {

UndoState undoState(const QList<Change>& changes) {
    UndoState state;
    for (const Change& c : changes) {
        if (c.status != ChangeStatus::Closed)
            continue;
        switch (c.kind) {
        case ChangeKind::Command:
        case ChangeKind::Restore:
            state.done.append(c.id);
            state.undone.clear();
            state.undoneBy.clear();
            break;
        case ChangeKind::Undo:
            state.done.removeAll(c.target);
            state.undone.removeAll(c.target);
            state.undone.append(c.target);
            state.undoneBy.insert(c.target, c.id);
            break;
        case ChangeKind::Redo:
            state.undone.removeAll(c.target);
            state.undoneBy.remove(c.target);
            state.done.removeAll(c.target);
            state.done.append(c.target);
            break;
        case ChangeKind::Unreadable:
            break;
        }
    }
    return state;
}

} // namespace history
