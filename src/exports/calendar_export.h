#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

class TYotei;
class TYoteiList;

// The schedule as an iCalendar file for phone and desktop calendars. A task names
// a month and a week but no year, so each open task is placed once, at the next
// time its week comes round from a given day.

// The days of one week of a month under the Saturday rule. Week 5 also takes a
// sixth week's days; a week the month lacks (week 5 of a four-week February)
// falls on the month's last week. Nothing for a month or week out of range.
struct WeekSpan {
    QDate first;
    QDate last;
};
std::optional<WeekSpan> WeekDays(int year, int month, int week);

// The calendar library writes dates up to the end of this year and nothing
// sensible after it.
constexpr int kLastCalendarYear = 3000;
// Every task placed from this day can be written: a task may fall in the next
// year and its event ends on the day after its week, so up to the end of 2998.
bool CanPlaceFrom(const QDate& from);

// This year's week when its last day is not before today, otherwise next year's.
std::optional<WeekSpan> NextOccurrence(const QString& tuki, const QString& shuu, const QDate& today);

struct CalendarEvent {
    const TYotei* task = nullptr;
    WeekSpan days;
    QString uid;
};

struct CalendarPlan {
    QList<CalendarEvent> events;
    // Open tasks whose month or week is no whole number in range.
    int leftOut = 0;
};

// Every open task in list order; completed ones are not part of the calendar.
CalendarPlan PlanCalendar(const TYoteiList& tasks, const QDate& today);

// The same task gives the same UID in every export, so a calendar that imports
// the file again updates its events instead of doubling them; occurrence tells
// identical tasks apart (0 for the first).
QString EventUid(const TYotei& task, int occurrence);

// What a calendar kept current adds to the one-off file.
struct CalendarOptions {
    // Calendar programs that subscribe to the file read it again this often.
    bool refreshes = false;
    // Each event reminds on the morning of its first day (kAlarmHour o'clock).
    bool alarms = false;
};
constexpr int kAlarmHour = 8;
constexpr int kRefreshHours = 1;

// The calendar file, UTF-8 with CR LF and folded lines. stamp is the moment of
// the export and is written in UTC. Throws, writing nothing, for an event the
// library cannot write (after kLastCalendarYear).
QByteArray CalendarIcs(const CalendarPlan& plan, const QDateTime& stamp, const CalendarOptions& options = {});

inline const QString kCalendarName = QStringLiteral("青葉録の予定");
inline const QString kCalendarCategory = QStringLiteral("家庭菜園");
