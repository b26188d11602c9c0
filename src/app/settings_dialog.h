#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class Platform;
class QPushButton;
namespace settings {
class Preferences;
}

// 設定: what the user chooses once for every notebook, kept in their own
// preferences. For now the caption that saved pictures carry in their footer.
class TSettingsDialog : public QDialog {
    Q_OBJECT
public:
    // With a platform, the dialog also offers the reminder at login for its data folder.
    TSettingsDialog(settings::Preferences& preferences, QWidget* parent = nullptr,
                    Platform* platform = nullptr);

    QLineEdit* captionEdit() const { return m_caption; }
    QCheckBox* remindBox() const { return m_remind; }

    // Keeps what the fields hold and closes; true when anything differs from before.
    void OkButtonClick();
    bool changed() const { return m_changed; }

private:
    settings::Preferences& m_preferences;
    QLineEdit* m_caption;
    Platform* m_platform;
    QCheckBox* m_remind = nullptr;
    QPushButton* m_ok = nullptr;
    bool m_changed = false;
};

// Opens 設定… over the owner; true when the user kept a change with OK, so
// that what shows a caption draws again.
bool editSettings(settings::Preferences& preferences, QWidget* owner, Platform* platform = nullptr);
