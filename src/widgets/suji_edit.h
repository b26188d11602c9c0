#pragma once

#include <QColor>
#include <QLineEdit>
#include <QPointer>

class QInputMethodEvent;

// Sujiin (suji = number, in = input): the one-line field where whole numbers are
// typed, such as the year of a purchase and the amount of a line. On entry it
// takes its entry colour and selects the whole text, so a digit typed straight
// away replaces the old number. Typing can be limited to a set of characters and
// to a length in characters or in Shift-JIS bytes; Enter and the arrow keys can
// hand the focus to named neighbours; the reading of Japanese input can be copied
// into another field. The neighbours are sibling controls and are not owned.
// Full-width digits, minus and commas are taken as a Japanese input method
// types them and shown, and kept, in half-width form (see halfWidthNumber).
class Sujiin : public QLineEdit {
    Q_OBJECT
public:
    enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

    explicit Sujiin(QWidget* parent = nullptr);

    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment alignment);
    // Stored for the windows that use it; the field itself does nothing with it.
    QString Caption() const { return m_caption; }
    void setCaption(const QString& caption) { m_caption = caption; }
    bool Essential() const { return m_essential; }
    void setEssential(bool essential) { m_essential = essential; }
    bool NumOnly() const { return m_numOnly; }
    void setNumOnly(bool numOnly) { m_numOnly = numOnly; }
    QColor EnterColor() const { return m_enterColor; }
    void setEnterColor(const QColor& colour) { m_enterColor = colour; }
    bool EnterColChg() const { return m_enterColChg; }
    void setEnterColChg(bool change) { m_enterColChg = change; }
    QString ValidValue() const { return m_validValue; }
    void setValidValue(const QString& characters) { m_validValue = characters; }
    // true: MaxLength2 counts characters; false: bytes of the Shift-JIS text.
    bool LengthIsKeta() const { return m_lengthIsKeta; }
    void setLengthIsKeta(bool characters) { m_lengthIsKeta = characters; }
    int MaxLength2() const { return m_maxLength2; }
    void setMaxLength2(int length) { m_maxLength2 = length; }
    int MinLength() const { return m_minLength; }
    void setMinLength(int length) { m_minLength = length; }
    QLineEdit* KanaOut() const { return m_kanaOut; }
    // The field itself is never its own reading field: assigning it clears the link.
    void setKanaOut(QLineEdit* field) { m_kanaOut = field == this ? nullptr : field; }
    bool MoveAuto() const { return m_moveAuto; }
    void setMoveAuto(bool on) { m_moveAuto = on; }
    QWidget* MoveTopKey() const { return m_moveTopKey; }
    void setMoveTopKey(QWidget* target) { m_moveTopKey = target; }
    QWidget* MoveBottomKey() const { return m_moveBottomKey; }
    void setMoveBottomKey(QWidget* target) { m_moveBottomKey = target; }
    QWidget* MoveLeftKey() const { return m_moveLeftKey; }
    void setMoveLeftKey(QWidget* target) { m_moveLeftKey = target; }
    // Kept for symmetry only: the Right arrow always moves the caret.
    QWidget* MoveRight() const { return m_moveRight; }
    void setMoveRight(QWidget* target) { m_moveRight = target; }
    QWidget* MoveRetrun() const { return m_moveRetrun; }
    void setMoveRetrun(QWidget* target) { m_moveRetrun = target; }

    // The length of text as MaxLength2 counts it.
    int measuredLength(const QString& text) const;
    // The kana reading of a composition result, or empty when the event carries
    // none. Qt passes no reading of a conversion, so only a result written in
    // kana alone counts as its own reading.
    static QString readingOf(const QInputMethodEvent& event);
    // Half-width katakana turned into their full-width forms.
    static QString fullWidthKana(const QString& reading);

    // Puts text at the caret as if its characters had been typed one by one,
    // in half-width form, so whatever typing would refuse stays out.
    void typeText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool navigate(QKeyEvent* event);
    bool moveFocus(QWidget* target, bool forward);
    int selectionStartOrCaret() const;
    bool isTyping(const QKeyEvent* event) const;
    bool keepsTyped(const QString& character) const;
    bool isEntry(Qt::FocusReason reason);
    void setBackground(const QColor& colour);
    void pasteTyped();

    TAlignment m_alignment = TAlignment::taRightJustify;
    QString m_caption;
    bool m_essential = false;
    bool m_numOnly = true;
    QColor m_enterColor = QColor(255, 255, 0);
    bool m_enterColChg = true;
    QString m_validValue;
    bool m_lengthIsKeta = false;
    int m_maxLength2 = 0;
    int m_minLength = 0;
    QPointer<QLineEdit> m_kanaOut;
    bool m_moveAuto = false;
    QPointer<QWidget> m_moveTopKey;
    QPointer<QWidget> m_moveBottomKey;
    QPointer<QWidget> m_moveLeftKey;
    QPointer<QWidget> m_moveRight;
    QPointer<QWidget> m_moveRetrun;

    // The press that brought the focus must not undo the selection made on entry.
    bool m_holdSelection = false;
    // Focus lost with the whole window comes back with it; that is no new entry.
    bool m_leftWithWindow = false;
};
