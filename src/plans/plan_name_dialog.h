#pragma once

#include "widgets/form_dialog.h"

class Platform;
class QLineEdit;
class QPushButton;

// Renames the current plan: shows the name before, asks for the name after.
class TForm42 : public FormDialog {
    Q_OBJECT
public:
    TForm42(Platform& platform, const QString& currentName, QWidget* parent = nullptr);

    // After OK: the new name exactly as typed.
    QString newName() const;

    void OkButtonClick();

private:
    Platform& m_platform;
    QLineEdit* m_name;
    QPushButton* m_ok;
};
