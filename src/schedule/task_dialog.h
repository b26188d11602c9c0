#pragma once

#include "widgets/form_dialog.h"

class Platform;
class QComboBox;
class LinesEdit;
class QPushButton;
class TYotei;
class TYoteiList;

// The task dialog: adds a task to the schedule or changes one. On OK it writes
// the task, sorts the schedule by week and saves it before it closes.
class TForm11 : public FormDialog {
    Q_OBJECT
public:
    // task is the task to change; null to add one.
    TForm11(Platform& platform, TYoteiList& tasks, TYotei* task, QWidget* parent = nullptr);

    // After OK: the added or changed task.
    TYotei* task() const { return m_task; }

    void OkButtonClick();

private:
    void buildLayout();
    void showTask();
    bool failsWith(bool failed, const QString& text, QWidget* focus);
    bool checksPass();

    Platform& m_platform;
    TYoteiList& m_tasks;
    TYotei* m_task;

    QComboBox* m_name;
    QComboBox* m_month;
    QComboBox* m_week;
    LinesEdit* m_note;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
