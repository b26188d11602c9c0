#pragma once

#include <QString>

class Platform;
class QComboBox;
class QWidget;

// Small pieces the plan dialogs share, so their checks and lists behave alike.
namespace plandlg {

// A failed check: shows text, puts the focus on the control and reports true.
bool refuse(Platform& platform, const QString& text, QWidget* focus);

// Selects the first item whose text equals text; when none does, the first item.
void selectByText(QComboBox* box, const QString& text);

} // namespace plandlg
