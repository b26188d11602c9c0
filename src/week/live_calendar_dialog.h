#pragma once

#include "week/live_calendar.h"
#include "widgets/form_dialog.h"

class QCheckBox;
class QLineEdit;
class QMenu;
class TScheduleTab;
struct AppContext;

// カレンダーを自動で書き出す…: the file chosen once, and whether each event reminds.
class TLiveCalendarDialog : public FormDialog {
    Q_OBJECT
public:
    TLiveCalendarDialog(AppContext& context, const QString& file, bool alarms, QWidget* parent = nullptr);

    QString file() const;
    bool alarms() const;

    void ChooseButtonClick();
    void StopButtonClick();

private:
    AppContext& m_context;
    QLineEdit* m_file;
    QCheckBox* m_alarms;
};

// Keeps the chosen calendar file in line with the schedule: after every refresh
// of the schedule tab (each change, undo and reload ends in one) the file is
// rewritten if what it says would differ. A failure is told once, until the
// next write succeeds or a new file is chosen.
class TLiveCalendarKeeper : public QObject {
    Q_OBJECT
public:
    TLiveCalendarKeeper(AppContext& context, QObject* parent);

    LiveCalendar& calendar() { return m_calendar; }
    void update();
    // The dialog; on OK the choice is kept and the file written at once.
    void Choose();

private:
    AppContext& m_context;
    LiveCalendar m_calendar;
    QString m_told;
};

// Adds カレンダーを自動で書き出す… to the 書き出し menu and keeps the file current
// with the schedule tab's refreshes.
TLiveCalendarKeeper* keepCalendarCurrent(QMenu& exportMenu, TScheduleTab& scheduleTab, AppContext& context);
