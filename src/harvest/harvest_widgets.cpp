#include "harvest/harvest_widgets.h"

#include <QComboBox>
#include <QDateEdit>

namespace harvestui {

QDateEdit* dateEdit(const QDate& date, QWidget* parent) {
    auto* edit = new QDateEdit(date, parent);
    edit->setObjectName(QStringLiteral("dateEdit"));
    edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    edit->setCalendarPopup(true);
    edit->setMinimumDate(QDate(1900, 1, 1));
    edit->setMaximumDate(QDate(9999, 12, 31));
    return edit;
}

QComboBox* namesBox(const char* objectName, const QStringList& names, const QString& text, QWidget* parent) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(20);
    box->addItems(names);
    box->setCurrentText(text);
    return box;
}

} // namespace harvestui
