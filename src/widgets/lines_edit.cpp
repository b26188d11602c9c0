#include "widgets/lines_edit.h"

#include "store/text_lines.h"

#include <QKeyEvent>
#include <QTextDocument>

LinesEdit::LinesEdit(QWidget* parent) : QPlainTextEdit(parent) {}

void LinesEdit::setLines(const QStringList& lines) {
    setPlainText(store::boxText(lines));
    m_shown = lines;
    m_shownText = text();
}

QStringList LinesEdit::lines() const {
    const QString now = text();
    return now == m_shownText ? m_shown : store::boxLines(now);
}

// The raw text: toPlainText() would turn no-break spaces into plain ones.
QString LinesEdit::text() const {
    QString raw = document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    raw.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return raw;
}

void LinesEdit::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & Qt::ControlModifier)) {
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}
