#include "widgets/suji_edit.h"

#include "store/cp932.h"
#include "widgets/number_text.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <stdexcept>

namespace {

bool isControl(const QString& character) {
    const char16_t code = character.at(0).unicode();
    return code < 32 || code == 127;
}

bool isDigit(const QString& character) {
    return character.size() == 1 && character.at(0) >= u'0' && character.at(0) <= u'9';
}

bool isHalfWidthKatakana(char16_t code) {
    return code >= 0xff61 && code <= 0xff9f;
}

bool isKana(char16_t code) {
    return (code >= 0x3041 && code <= 0x30ff) || isHalfWidthKatakana(code);
}

// The text split into characters, a surrogate pair being one character.
QStringList characters(const QString& text) {
    QStringList result;
    for (qsizetype i = 0; i < text.size();) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const qsizetype n = pair ? 2 : 1;
        result << text.mid(i, n);
        i += n;
    }
    return result;
}

// Bytes of one character in code page 932. A character the code page lacks is
// written as a single '?', so it counts one byte.
int cp932Bytes(const QString& character) {
    try {
        return int(store::encodeCp932(character, [](char32_t) { return QByteArray("?"); }).size());
    } catch (const std::runtime_error&) {
        const char16_t code = character.at(0).unicode();
        return code < 0x80 || isHalfWidthKatakana(code) ? 1 : 2;
    }
}

// The paste entry of a line edit's standard menu: named in newer Qt versions,
// otherwise known by its caption, which the same translation gives both of us.
QAction* pasteAction(const QMenu* menu) {
    for (QAction* action : menu->actions())
        if (action->objectName() == QLatin1String("edit-paste") ||
            (!action->text().isEmpty() && action->text().startsWith(QLineEdit::tr("&Paste"))))
            return action;
    return nullptr;
}

} // namespace

Sujiin::Sujiin(QWidget* parent) : QLineEdit(parent) {
    QLineEdit::setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    // Full-width digits become half-width ones, however they arrive.
    setValidator(new HalfWidthNumber(this));
    // The field takes no drops, so nothing reaches the text without the typing rules.
    setAcceptDrops(false);
}

void Sujiin::setAlignment(TAlignment alignment) {
    if (alignment == m_alignment)
        return;
    m_alignment = alignment;
    const Qt::Alignment horizontal = alignment == TAlignment::taLeftJustify    ? Qt::AlignLeft
                                     : alignment == TAlignment::taRightJustify ? Qt::AlignRight
                                                                               : Qt::AlignHCenter;
    QLineEdit::setAlignment(horizontal | Qt::AlignVCenter);
}

int Sujiin::measuredLength(const QString& text) const {
    const QStringList list = characters(text);
    if (m_lengthIsKeta)
        return int(list.size());
    int bytes = 0;
    for (const QString& character : list)
        bytes += cp932Bytes(character);
    return bytes;
}

QString Sujiin::readingOf(const QInputMethodEvent& event) {
    const QString result = event.commitString();
    for (const QChar c : result)
        if (!isKana(c.unicode()))
            return QString();
    return result;
}

QString Sujiin::fullWidthKana(const QString& reading) {
    QString result;
    QString halfWidth;
    for (const QChar c : reading) {
        if (isHalfWidthKatakana(c.unicode())) {
            halfWidth += c;
            continue;
        }
        result += halfWidth.normalized(QString::NormalizationForm_KC) + c;
        halfWidth.clear();
    }
    return result + halfWidth.normalized(QString::NormalizationForm_KC);
}

// --- typing ---

// The rules for one typed printable character, in their order. A digit typed
// over the whole text replaces it, so the old text does not count against the
// length limit; the replacement is one edit, with no empty field in between.
bool Sujiin::keepsTyped(const QString& character) const {
    if (!m_validValue.isEmpty() && !m_validValue.contains(character))
        return false;
    const bool replacesAll = m_numOnly && isDigit(character) && selectedText() == text();
    const int measure = replacesAll ? 0 : measuredLength(text());
    if (m_maxLength2 > 0 && measure >= m_maxLength2)
        return false;
    return !m_numOnly || isDigit(character);
}

bool Sujiin::isTyping(const QKeyEvent* event) const {
    const Qt::KeyboardModifiers commands = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    return !event->text().isEmpty() && !(event->modifiers() & commands) && !isControl(event->text());
}

void Sujiin::typeText(const QString& text) {
    if (isReadOnly())
        return;
    for (const QString& character : characters(halfWidthNumber(text)))
        if (!isControl(character) && keepsTyped(character))
            insert(character);
}

void Sujiin::pasteTyped() {
    typeText(QApplication::clipboard()->text());
}

void Sujiin::keyPressEvent(QKeyEvent* event) {
    if (navigate(event))
        return;
    if (event->matches(QKeySequence::Paste) && !isReadOnly()) {
        pasteTyped();
        event->accept();
        return;
    }
    if (isTyping(event) && !isReadOnly()) {
        const QString text = event->text();
        // A full-width digit is typed as its half-width self, under the same rules.
        if (characters(text).size() > 1 || halfWidthNumber(text) != text)
            typeText(text);
        else if (keepsTyped(text))
            QLineEdit::keyPressEvent(event);
        event->accept();
        return;
    }
    // Enter, Backspace, Escape and every other key work as usual; a line edit never inserts a line break.
    QLineEdit::keyPressEvent(event);
}

void Sujiin::inputMethodEvent(QInputMethodEvent* event) {
    if (m_kanaOut) {
        const QString reading = readingOf(*event);
        if (!reading.isEmpty())
            m_kanaOut->setText(m_kanaOut->text() + fullWidthKana(reading));
    }
    const QString commit = event->commitString();
    if (commit.isEmpty() || isReadOnly()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    // The composition goes away as usual; its result is typed under the rules.
    QInputMethodEvent withoutResult(event->preeditString(), event->attributes());
    QLineEdit::inputMethodEvent(&withoutResult);
    typeText(commit);
}

void Sujiin::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (QAction* paste = pasteAction(menu)) {
        QObject::disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this, &Sujiin::pasteTyped);
    }
    menu->popup(event->globalPos());
}

// --- navigation ---

int Sujiin::selectionStartOrCaret() const {
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

bool Sujiin::navigate(QKeyEvent* event) {
    QWidget* target = nullptr;
    bool forward = true;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        target = m_moveRetrun;
        break;
    case Qt::Key_Left:
        if (selectionStartOrCaret() != 0)
            return false;
        target = m_moveLeftKey;
        forward = false;
        break;
    case Qt::Key_Up:
        target = m_moveTopKey;
        forward = false;
        break;
    case Qt::Key_Down:
        target = m_moveBottomKey;
        break;
    default:
        return false;
    }
    if (!moveFocus(target, forward))
        return false;
    event->accept();
    return true;
}

// A target that cannot take the focus counts as none.
bool Sujiin::moveFocus(QWidget* target, bool forward) {
    if (target && target->isEnabled() && target->isVisible()) {
        target->setFocus(Qt::OtherFocusReason);
        return true;
    }
    if (!m_moveAuto)
        return false;
    focusNextPrevChild(forward);
    return true;
}

// --- entering and leaving ---

bool Sujiin::isEntry(Qt::FocusReason reason) {
    if (reason == Qt::PopupFocusReason)
        return false;
    const bool windowCameBack = reason == Qt::ActiveWindowFocusReason && m_leftWithWindow;
    m_leftWithWindow = false;
    return !windowCameBack;
}

void Sujiin::setBackground(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::Base, colour);
    setPalette(p);
}

void Sujiin::focusInEvent(QFocusEvent* event) {
    const bool entry = isEntry(event->reason());
    if (entry) {
        if (!isReadOnly() && m_enterColChg)
            setBackground(m_enterColor);
        selectAll();
        m_holdSelection = event->reason() == Qt::MouseFocusReason;
    }
    QLineEdit::focusInEvent(event);
}

void Sujiin::focusOutEvent(QFocusEvent* event) {
    m_holdSelection = false;
    if (event->reason() == Qt::ActiveWindowFocusReason)
        m_leftWithWindow = true;
    else if (event->reason() != Qt::PopupFocusReason && !isReadOnly() && m_enterColChg)
        setBackground(QApplication::palette(this).color(QPalette::Base));
    QLineEdit::focusOutEvent(event);
}

void Sujiin::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    if (m_holdSelection)
        selectAll();
}

void Sujiin::mouseMoveEvent(QMouseEvent* event) {
    if (m_holdSelection) {
        event->accept();
        return;
    }
    QLineEdit::mouseMoveEvent(event);
}

void Sujiin::mouseReleaseEvent(QMouseEvent* event) {
    const bool held = m_holdSelection;
    m_holdSelection = false;
    if (event->button() == Qt::MiddleButton) {
        // The selection clipboard is pasted under the typing rules too.
        if (!isReadOnly() && QApplication::clipboard()->supportsSelection()) {
            deselect();
            setCursorPosition(cursorPositionAt(event->position().toPoint()));
            typeText(QApplication::clipboard()->text(QClipboard::Selection));
        }
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
    if (held)
        selectAll();
}
