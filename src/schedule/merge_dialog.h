#pragma once

#include "widgets/form_dialog.h"

class Platform;
class QPlainTextEdit;
class QPushButton;
class TYoteiList;

// 予定をまとめる: reports the repeated tasks of the schedule and, on OK, removes
// the exact duplicates and merges the tasks of one week with differing notes,
// keeping every note; then sorts the schedule by week and saves it.
class TForm14 : public FormDialog {
    Q_OBJECT
public:
    TForm14(Platform& platform, TYoteiList& tasks, QWidget* parent = nullptr);

    QString reportText() const;

    void OkButtonClick();

signals:
    // Tasks are about to be destroyed: whatever shows them lets go of them now.
    void merging();

private:
    void buildLayout();

    Platform& m_platform;
    TYoteiList& m_tasks;
    QPlainTextEdit* m_report;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
