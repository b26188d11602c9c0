#pragma once

#include <QLabel>

class QTimer;

// A small note that lies over the bottom of a window for a few seconds and
// then goes by itself. It is no part of any layout, takes no focus and lets
// the mouse through to what lies under it, so no control moves or stops for it.
class TPassingNote : public QLabel {
    Q_OBJECT
public:
    explicit TPassingNote(QWidget* window);

    // Shows the text, or the new text over the one still showing, for kShownMs.
    void pass(const QString& text);
    QTimer* timer() const { return m_timer; }

    static constexpr int kShownMs = 4000;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void place();

    QTimer* m_timer;
};
