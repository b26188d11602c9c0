#pragma once

#include "history/history.h"

#include <QString>

namespace history {

// Opened at the start of a user command: whatever the command saves, in one
// file or in nine, is one change under the name of the tab and the button, for
// example 予定「完了にする」. A command that saves nothing leaves no change.
// Does nothing without a history.
class CommandScope {
public:
    CommandScope(History* history, const QString& name) : m_history(history) {
        if (m_history)
            m_history->beginCommand(name);
    }
    ~CommandScope() {
        if (m_history)
            m_history->endCommand();
    }
    // The saves of the command are done; it only has something left to show.
    void close() {
        if (m_history)
            m_history->closeCommand();
    }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

private:
    History* m_history;
};

} // namespace history
