#include "widgets/passing_note.h"

#include <QEvent>
#include <QTimer>

namespace {

// Above the command buttons along every tab's bottom edge, the schedule's
// two lines of them included, over the foot of the tab's list.
constexpr int kAboveBottom = 80;

} // namespace

TPassingNote::TPassingNote(QWidget* window) : QLabel(window), m_timer(new QTimer(this)) {
    setObjectName(QStringLiteral("passingNote"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setTextFormat(Qt::PlainText);
    QFont tabFont = font();
    tabFont.setPointSize(10);
    setFont(tabFont);
    setStyleSheet(QStringLiteral("TPassingNote { background: rgba(48, 48, 48, 224); color: white;"
                                 " border-radius: 4px; padding: 6px 14px; }"));
    m_timer->setSingleShot(true);
    m_timer->setInterval(kShownMs);
    connect(m_timer, &QTimer::timeout, this, &QWidget::hide);
    window->installEventFilter(this);
    hide();
}

void TPassingNote::pass(const QString& text) {
    setText(text);
    adjustSize();
    place();
    show();
    raise();
    m_timer->start();
}

void TPassingNote::place() {
    const QWidget* window = parentWidget();
    move((window->width() - width()) / 2, window->height() - height() - kAboveBottom);
}

// Stays in its place when the window is resized under it.
bool TPassingNote::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible())
        place();
    return QLabel::eventFilter(watched, event);
}
