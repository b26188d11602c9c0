#include "week/week_view.h"

#include "schedule/schedule_tab.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QTabWidget>

void showThisWeek(QTabWidget& tabs, TScheduleTab& schedule) {
    tabs.setCurrentWidget(&schedule);
    // The first filter is 今週の予定; a click refreshes as the user's own would.
    if (QAbstractButton* thisWeek = schedule.filters()->button(0))
        thisWeek->click();
}
