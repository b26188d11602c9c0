#include "schedule/week_lists.h"

#include "widgets/number_list.h"

#include <QComboBox>

namespace week_lists {

namespace {

QComboBox* numberList(const char* objectName, int last, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(objectName));
    list->setEditable(false);
    for (int i = 1; i <= last; ++i)
        list->addItem(QString::number(i));
    list->setMaxVisibleItems(last);
    list->setCurrentIndex(-1);
    typeAheadByNumber(list);
    return list;
}

} // namespace

QComboBox* monthList(const char* objectName, QWidget* parent) {
    return numberList(objectName, 12, parent);
}

QComboBox* weekList(const char* objectName, QWidget* parent) {
    return numberList(objectName, 5, parent);
}

void selectByText(QComboBox* list, const QString& text) {
    const int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0)
        list->setCurrentIndex(index);
    else if (list->count() > 0)
        list->setCurrentIndex(0);
}

QString selectedText(const QComboBox* list) {
    return list->currentIndex() < 0 ? QString() : list->currentText();
}

} // namespace week_lists
