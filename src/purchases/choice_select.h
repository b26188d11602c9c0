#pragma once

#include <QString>

class QComboBox;

// Chooses the first entry whose text equals text exactly; when none does, the
// first entry of a list that has any. Raises no change notification, so only a
// choice by the user runs the handlers.
void SelectByText(QComboBox* box, const QString& text);
// Replaces the entries without a change notification; nothing is chosen after.
void FillChoices(QComboBox* box, const QStringList& texts);
