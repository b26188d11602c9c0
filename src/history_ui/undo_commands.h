#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class Platform;
class QWidget;
namespace history {
class History;
struct Outcome;
} // namespace history

// Undo, redo and the history window for the main window: Ctrl+Z, Ctrl+Shift+Z
// and Ctrl+Y, Ctrl+H. After files went back, reload brings the lists and the
// tabs in line with them; then the user is told what happened.
class TUndoCommands : public QObject {
    Q_OBJECT
public:
    TUndoCommands(history::History& history, Platform& platform, QWidget& window,
                  std::function<void(const QStringList& files)> reload);

    void Undo();
    void Redo();
    void ShowHistory();
    void Restore(qint64 id);

private:
    void finish(const history::Outcome& outcome);

    history::History& m_history;
    Platform& m_platform;
    QWidget& m_window;
    std::function<void(const QStringList& files)> m_reload;
};
