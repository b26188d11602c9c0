#pragma once

#include "widgets/form_dialog.h"

class Platform;
class QLineEdit;
class QPushButton;
class TOkini;
class TOkiniList;

// URL登録: adds a favourite to the end of the list or changes one. It checks
// the input and writes the favourite; the tab saves and shows the page.
class TForm18 : public FormDialog {
    Q_OBJECT
public:
    // okini is the favourite to change; null adds a new one on OK.
    TForm18(Platform& platform, TOkiniList& list, TOkini* okini, QWidget* parent = nullptr);

    // After OK: the added or changed favourite.
    TOkini* okini() const { return m_okini; }

    void OkButtonClick();

private:
    void buildLayout();
    QLineEdit* field(const char* objectName, bool japanese);
    void FormShow();
    bool failsWith(bool failed, const QString& text, QLineEdit* focus);

    Platform& m_platform;
    TOkiniList& m_list;
    TOkini* m_okini;

    QLineEdit* m_name;
    QLineEdit* m_url;
    QLineEdit* m_memo;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
