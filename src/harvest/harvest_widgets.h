#pragma once

#include <QDate>
#include <QStringList>

class QComboBox;
class QDateEdit;
class QWidget;

// The controls the harvest and diary dialogs share.
namespace harvestui {

// A date with its calendar, as 2025/07/14.
QDateEdit* dateEdit(const QDate& date, QWidget* parent);
// A list to pick from that takes any text typed, showing text.
QComboBox* namesBox(const char* objectName, const QStringList& names, const QString& text, QWidget* parent);

} // namespace harvestui
