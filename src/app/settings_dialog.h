#pragma once

#include "widgets/form_dialog.h"

class Platform;
class QCheckBox;
class QLineEdit;
class QPushButton;
namespace settings {
class Preferences;
}

// 設定: what the user chooses once for every notebook, kept in their own
// preferences. For now the caption that saved pictures carry in their footer.
class TSettingsDialog : public FormDialog {
    Q_OBJECT
public:
    // Also offers the reminder at login for the platform's data folder.
    TSettingsDialog(Platform& platform, settings::Preferences& preferences, QWidget* parent = nullptr);

    QLineEdit* captionEdit() const { return m_caption; }
    QCheckBox* remindBox() const { return m_remind; }

    // Keeps what the fields hold and closes; true when anything differs from before.
    void OkButtonClick();
    bool changed() const { return m_changed; }

private:
    settings::Preferences& m_preferences;
    QLineEdit* m_caption;
    Platform& m_platform;
    QCheckBox* m_remind = nullptr;
    QPushButton* m_ok = nullptr;
    bool m_changed = false;
};

// Opens 設定… over the owner; true when the user kept a change with OK, so
// that what shows a caption draws again.
bool editSettings(Platform& platform, QWidget* owner);
