#pragma once

#include <QString>

class QComboBox;
class QWidget;

// The month and week pick lists of the schedule dialogs: months "1" to "12",
// weeks "1" to "5", the texts that tasks and plan entries hold.
namespace week_lists {

QComboBox* monthList(const char* objectName, QWidget* parent);
QComboBox* weekList(const char* objectName, QWidget* parent);

// The text of the selected item, or nothing when none is selected.
QString selectedText(const QComboBox* list);

} // namespace week_lists
