#pragma once

#include "crops/crop_records.h"
#include "plans/plan_records.h"
#include "support/modal.h"
#include "widgets/list_view3.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

// Helpers for driving the plan windows the way a user would.
namespace plangui {

// Runs action on the next modal dialog of type T once its exec() shows it.
template <class T> void onModal(std::function<void(T*)> action) {
    testsupport::whenModal<T>(std::move(action));
}

template <class W> W* child(QObject* parent, const char* name) {
    W* widget = parent->findChild<W*>(QString::fromLatin1(name));
    if (!widget)
        qWarning("no widget named %s", name);
    return widget;
}

inline void click(QObject* parent, const char* buttonName) {
    auto* button = child<QAbstractButton>(parent, buttonName);
    if (button)
        QTest::mouseClick(button, Qt::LeftButton);
}

// A press on the row, as the user checks it.
inline void clickRow(TListView3* list, int index) {
    const QRect rect = list->visualItemRect(list->row(index));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

// Picks the item with this text, as a choice from the drop-down would.
inline void choose(QComboBox* box, const QString& text) {
    box->setCurrentIndex(box->findText(text));
}

// Replaces the field's text as typed: plain keys for Latin text, a committed
// composition of the input method for Japanese.
inline void typeInto(QObject* parent, const char* fieldName, const QString& text) {
    auto* field = child<QLineEdit>(parent, fieldName);
    if (!field)
        return;
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    bool latin = true;
    for (QChar c : text)
        latin = latin && c.unicode() < 0x80;
    if (latin) {
        QTest::keyClicks(field, text);
        return;
    }
    QInputMethodEvent composed;
    composed.setCommitString(text);
    QApplication::sendEvent(field, &composed);
}

// Entries of a group as "name:row" texts, sorted, so the order within a row does not matter.
inline QStringList rowsOf(const TGroup* group) {
    QStringList rows;
    for (int i = 0; i < group->count(); ++i)
        rows << group->at(i)->name + QLatin1Char(':') + QString::number(group->at(i)->ichi);
    rows.sort();
    return rows;
}

inline TSakumotu2* addEntry(TGroup* group, const QString& name, int row, const QString& period = "4,2,8,5") {
    TSakumotu2* entry = group->add();
    entry->name = name;
    entry->ichi = row;
    if (name != kDummyCropName) {
        const QStringList parts = period.split(u',');
        entry->StTuki = parts[0];
        entry->StShuu = parts[1];
        entry->EdTuki = parts[2];
        entry->EdShuu = parts[3];
    }
    return entry;
}

} // namespace plangui
