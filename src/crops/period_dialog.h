#pragma once

#include "widgets/form_dialog.h"

class Platform;
class QLineEdit;
class QPushButton;
class TJiki;
class TJikiList;

// The period dialog: one cultivation period of the crop dialog's working list,
// added to it or changed in place.
class TForm8 : public FormDialog {
    Q_OBJECT
public:
    // period is the period to change; null in add mode.
    TForm8(Platform& platform, const QString& mode, TJikiList& periods, TJiki* period,
           QWidget* parent = nullptr);

    void FormShow();
    void OkButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();

    Platform& m_platform;
    const QString m_mode;
    TJikiList& m_periods;
    TJiki* m_period;
    bool m_shown = false;

    QLineEdit* m_st;
    QLineEdit* m_ed;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
