#pragma once

#include <QString>
#include <QStringList>

class QComboBox;

// Choosing in the drop-down lists of the dialogs and tabs, one rule for all:
// the first entry whose text equals text exactly; when none does, the first
// entry of a list that has any.
namespace choices {

// Sends the change notification a choice by the user would.
void selectByText(QComboBox* box, const QString& text);
// Raises no change notification, so only a choice by the user runs the handlers.
void selectByTextQuietly(QComboBox* box, const QString& text);
// Replaces the entries without a change notification; nothing is chosen after.
void fill(QComboBox* box, const QStringList& texts);

} // namespace choices
