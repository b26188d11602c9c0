#include "widgets/form_dialog.h"

#include "widgets/dialog_placement.h"
#include "widgets/platform.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// Every text of every row, in order.
QString rowsText(const QAbstractItemView* list) {
    const QAbstractItemModel* model = list->model();
    QStringList texts;
    if (model)
        for (int row = 0; row < model->rowCount(); ++row)
            for (int column = 0; column < model->columnCount(); ++column)
                texts << model->index(row, column).data().toString();
    return texts.join(u'\t');
}

QString stateOf(const QWidget* widget) {
    if (const auto* line = qobject_cast<const QLineEdit*>(widget))
        return line->text();
    if (const auto* box = qobject_cast<const QComboBox*>(widget))
        return QString::number(box->currentIndex()) + u':' + box->currentText();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->isCheckable() ? QString::number(button->isChecked()) : QString();
    if (const auto* text = qobject_cast<const QPlainTextEdit*>(widget))
        return text->isReadOnly() ? QString() : text->toPlainText();
    return QString();
}

} // namespace

FormDialog::FormDialog(Platform& platform, QWidget* parent) : QDialog(parent), m_askPlatform(platform) {
    QFont tabFont = font();
    tabFont.setPointSize(10);
    setFont(tabFont);
    centreOnMainWindow(this);
}

// --- buttons ---

QPushButton* FormDialog::makeOkButton() {
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setAutoDefault(false);
    ok->setDefault(true);
    return ok;
}

QPushButton* FormDialog::makeCancelButton() {
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &FormDialog::cancelByUser);
    return cancel;
}

QHBoxLayout* FormDialog::okCancelRow(QPushButton*& ok, QPushButton*& cancel) {
    ok = makeOkButton();
    cancel = makeCancelButton();
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    row->addStretch(1);
    return row;
}

QHBoxLayout* FormDialog::okCancelRow(QPushButton*& ok) {
    QPushButton* cancel = nullptr;
    return okCancelRow(ok, cancel);
}

// --- keys ---

void FormDialog::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (modifiers == Qt::NoModifier || modifiers == Qt::ControlModifier)) {
        pressEnter(modifiers == Qt::ControlModifier);
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        cancelByUser();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// A button with the focus is pressed as it would be on Windows; otherwise the
// default one, OK. A dialog without OK (it saves as it goes) takes no Enter.
void FormDialog::pressEnter(bool okAlways) {
    auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
    if (!okAlways && focused && focused->window() == this && focused->isEnabled()) {
        focused->click();
        return;
    }
    for (QPushButton* button : findChildren<QPushButton*>())
        if (button->isDefault() && button->isVisible() && button->window() == this) {
            if (button->isEnabled())
                button->click();
            return;
        }
}

// --- cancelling ---

void FormDialog::countAsInput(QAbstractItemView* list) {
    m_inputLists << list;
}

// What the inputs hold, taken once the dialog has come up and filled them.
void FormDialog::setVisible(bool visible) {
    QDialog::setVisible(visible);
    if (visible && isVisible() && !m_stateTaken) {
        m_shownState = inputState();
        m_stateTaken = true;
    }
}

QStringList FormDialog::inputState() const {
    QStringList state;
    for (const QWidget* widget : findChildren<QWidget*>())
        if (widget->window() == this)
            state << stateOf(widget);
    for (const QPointer<QAbstractItemView>& list : m_inputLists)
        if (list)
            state << rowsText(list);
    return state;
}

bool FormDialog::isEdited() const {
    return m_stateTaken && inputState() != m_shownState;
}

bool FormDialog::mayDiscard() {
    return !isEdited() || m_askPlatform.question(kDiscardQuestion);
}

void FormDialog::cancelByUser() {
    if (mayDiscard())
        reject();
}

// The close box counts as キャンセル.
void FormDialog::closeEvent(QCloseEvent* event) {
    if (isVisible() && !mayDiscard()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}
