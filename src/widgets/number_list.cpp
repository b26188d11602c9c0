#include "widgets/number_list.h"

#include "widgets/number_text.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>

namespace {

class NumberTypeAhead : public QObject {
public:
    explicit NumberTypeAhead(QComboBox* list) : QObject(list), m_list(list) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString digit = halfWidthNumber(key->text());
        const Qt::KeyboardModifiers commands = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
        if (digit.size() != 1 || !digit.at(0).isDigit() || digit.at(0).unicode() > u'9' ||
            (key->modifiers() & commands))
            return false;
        const int found = find(digit);
        if (found >= 0)
            select(found, watched == m_list->view());
        return true;
    }

private:
    // The number typed so far goes on while the keys come in quick succession
    // and some item still begins with it; only an item that is the whole
    // number is picked, so a year takes its four digits.
    int find(const QString& digit) {
        const bool continues =
            m_typing.isValid() && m_typing.elapsed() <= QApplication::keyboardInputInterval();
        m_typing.start();
        m_typed = continues && beginsAnItem(m_typed + digit) ? m_typed + digit : digit;
        return exactly(m_typed);
    }

    bool beginsAnItem(const QString& number) const {
        return m_list->findText(number, Qt::MatchStartsWith | Qt::MatchCaseSensitive) >= 0;
    }

    int exactly(const QString& number) const {
        return m_list->findText(number, Qt::MatchExactly | Qt::MatchCaseSensitive);
    }

    // In the open list the highlight moves and Enter takes it; in the closed
    // one the choice changes at once, as a choice by the user.
    void select(int index, bool open) {
        if (open) {
            m_list->view()->setCurrentIndex(m_list->model()->index(index, m_list->modelColumn()));
            return;
        }
        if (index == m_list->currentIndex())
            return;
        m_list->setCurrentIndex(index);
        emit m_list->activated(index);
        emit m_list->textActivated(m_list->itemText(index));
    }

    QComboBox* m_list;
    QString m_typed;
    QElapsedTimer m_typing;
};

} // namespace

void typeAheadByNumber(QComboBox* list) {
    auto* typeAhead = new NumberTypeAhead(list);
    list->installEventFilter(typeAhead);
    list->view()->installEventFilter(typeAhead);
}
