#include "widgets/dialog_placement.h"

#include <QDialog>
#include <QEvent>
#include <QScreen>
#include <algorithm>

namespace {

QWidget* mainWindowOf(const QWidget* dialog) {
    QWidget* owner = dialog->parentWidget();
    while (owner && owner->parentWidget())
        owner = owner->parentWidget();
    return owner ? owner->window() : nullptr;
}

// The dialog's frame centred on the main window's, kept on the main window's screen.
void centre(QDialog* dialog, const QWidget* main) {
    const QRect mainFrame = main->frameGeometry();
    // Not yet shown, the dialog has no frame; it will get one like the main window's.
    QRect placed(QPoint(), dialog->size() + (mainFrame.size() - main->size()));
    placed.moveCenter(mainFrame.center());
    const QRect screen = main->screen()->availableGeometry();
    placed.moveLeft(std::max(screen.left(), std::min(placed.left(), screen.right() + 1 - placed.width())));
    placed.moveTop(std::max(screen.top(), std::min(placed.top(), screen.bottom() + 1 - placed.height())));
    dialog->move(placed.topLeft());
}

class MainWindowCentring : public QObject {
public:
    explicit MainWindowCentring(QDialog* dialog) : QObject(dialog), m_dialog(dialog) {}

protected:
    // Before the toolkit places the dialog on its owner, and before it reaches the screen.
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_dialog && event->type() == QEvent::Show && !event->spontaneous())
            if (const QWidget* main = mainWindowOf(m_dialog))
                centre(m_dialog, main);
        return false;
    }

private:
    QDialog* m_dialog;
};

} // namespace

void centreOnMainWindow(QDialog* dialog) {
    dialog->installEventFilter(new MainWindowCentring(dialog));
}
