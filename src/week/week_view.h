#pragma once

#include <QByteArray>

class QTabWidget;
class TScheduleTab;

// Asks the running program to show this week, for `aobaroku --week`.
inline const QByteArray kShowWeekMessage = QByteArrayLiteral("show-week");

// The schedule tab in front with 今週の予定 chosen.
void showThisWeek(QTabWidget& tabs, TScheduleTab& schedule);
