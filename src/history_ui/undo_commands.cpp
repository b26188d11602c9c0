#include "history_ui/undo_commands.h"

#include "history/history.h"
#include "history_ui/history_window.h"
#include "widgets/platform.h"

#include <QKeySequence>
#include <QShortcut>
#include <QWidget>

TUndoCommands::TUndoCommands(history::History& history, Platform& platform, QWidget& window,
                             std::function<void(const QStringList& files)> reload)
    : QObject(&window), m_history(history), m_platform(platform), m_window(window),
      m_reload(std::move(reload)) {
    // Window shortcuts: a dialog is a window of its own, so Ctrl+Z in its text
    // fields stays the fields' own undo.
    const auto bind = [this](const QKeySequence& keys, void (TUndoCommands::*command)()) {
        auto* shortcut = new QShortcut(keys, &m_window);
        connect(shortcut, &QShortcut::activated, this, command);
    };
    bind(QKeySequence(Qt::CTRL | Qt::Key_Z), &TUndoCommands::Undo);
    bind(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), &TUndoCommands::Redo);
    bind(QKeySequence(Qt::CTRL | Qt::Key_Y), &TUndoCommands::Redo);
    bind(QKeySequence(Qt::CTRL | Qt::Key_H), &TUndoCommands::ShowHistory);
}

void TUndoCommands::Undo() {
    finish(m_history.undo());
}

void TUndoCommands::Redo() {
    finish(m_history.redo());
}

void TUndoCommands::Restore(qint64 id) {
    finish(m_history.restore(id));
}

void TUndoCommands::ShowHistory() {
    TFormHistory window(
        m_platform, m_history, [this](qint64 id) { Restore(id); }, &m_window);
    window.exec();
}

void TUndoCommands::finish(const history::Outcome& outcome) {
    if (!outcome.files.isEmpty())
        m_reload(outcome.files);
    m_platform.message(outcome.message);
}
