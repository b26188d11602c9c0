#include "exports/calendar_export.h"

#include "schedule/calendar.h"
#include "schedule/task_records.h"

#include <QCryptographicHash>
#include <QHash>
#include <libical/ical.h>
#include <memory>
#include <stdexcept>

namespace {

constexpr int kSaturday = 6;
constexpr int kLastStoredWeek = 5;

struct ComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

QByteArray utf8(const QString& text) {
    return text.toUtf8();
}

icaltimetype icalDate(const QDate& date) {
    icaltimetype t = icaltime_null_date();
    t.year = date.year();
    t.month = date.month();
    t.day = date.day();
    return t;
}

icaltimetype icalUtc(const QDateTime& stamp) {
    const QDateTime utc = stamp.toUTC();
    icaltimetype t = icaltime_null_time();
    t.year = utc.date().year();
    t.month = utc.date().month();
    t.day = utc.date().day();
    t.hour = utc.time().hour();
    t.minute = utc.time().minute();
    t.second = utc.time().second();
    t.zone = icaltimezone_get_utc_timezone();
    return t;
}

void add(icalcomponent* component, icalproperty* property) {
    if (!property)
        throw std::runtime_error("カレンダーの項目を作れませんでした。");
    icalcomponent_add_property(component, property);
}

bool writable(const QDate& day) {
    return day.isValid() && day.year() >= 1 && day.year() <= kLastCalendarYear;
}

Component newEvent(const CalendarEvent& event, const icaltimetype& stamp) {
    if (!writable(event.days.first) || !writable(event.days.last.addDays(1)))
        throw std::runtime_error(
            QStringLiteral("カレンダーに書ける日付は %1年までです。").arg(kLastCalendarYear).toStdString());
    Component component(icalcomponent_new(ICAL_VEVENT_COMPONENT));
    icalcomponent* vevent = component.get();
    add(vevent, icalproperty_new_uid(utf8(event.uid).constData()));
    add(vevent, icalproperty_new_dtstamp(stamp));
    add(vevent, icalproperty_new_dtstart(icalDate(event.days.first)));
    // An all-day event ends on the morning after its last day.
    add(vevent, icalproperty_new_dtend(icalDate(event.days.last.addDays(1))));
    add(vevent, icalproperty_new_summary(utf8(event.task->name).constData()));
    if (!event.task->note.isEmpty())
        add(vevent, icalproperty_new_description(utf8(event.task->note.join(QLatin1Char('\n'))).constData()));
    add(vevent, icalproperty_new_categories(utf8(kCalendarCategory).constData()));
    add(vevent, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    return component;
}

// All-day events start at midnight, so the alarm comes that many hours after the start.
Component morningAlarm(const TYotei& task) {
    Component alarm(icalcomponent_new(ICAL_VALARM_COMPONENT));
    add(alarm.get(), icalproperty_new_action(ICAL_ACTION_DISPLAY));
    struct icaltriggertype trigger = icaltriggertype_from_int(0);
    trigger.duration = icaldurationtype_from_int(kAlarmHour * 3600);
    add(alarm.get(), icalproperty_new_trigger(trigger));
    add(alarm.get(), icalproperty_new_description(utf8(task.name).constData()));
    return alarm;
}

void addRefresh(icalcomponent* calendar) {
    icalproperty* refresh = icalproperty_new_refreshinterval(icaldurationtype_from_int(kRefreshHours * 3600));
    if (refresh)
        icalproperty_add_parameter(refresh, icalparameter_new_value(ICAL_VALUE_DURATION));
    add(calendar, refresh);
    // The same for the calendar programs that read only the older name.
    icalproperty* ttl = icalproperty_new_x(QStringLiteral("PT%1H").arg(kRefreshHours).toLatin1().constData());
    icalproperty_set_x_name(ttl, "X-PUBLISHED-TTL");
    add(calendar, ttl);
}

Component newCalendar() {
    Component calendar(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    add(calendar.get(), icalproperty_new_version("2.0"));
    add(calendar.get(), icalproperty_new_prodid("-//Aobaroku//Aobaroku//JA"));
    add(calendar.get(), icalproperty_new_name(utf8(kCalendarName).constData()));
    // The name most calendar programs still read.
    icalproperty* name = icalproperty_new_x(utf8(kCalendarName).constData());
    icalproperty_set_x_name(name, "X-WR-CALNAME");
    add(calendar.get(), name);
    return calendar;
}

} // namespace

std::optional<WeekSpan> WeekDays(int year, int month, int week) {
    if (month < 1 || month > 12 || week < 1 || week > kLastStoredWeek)
        return std::nullopt;
    const QDate firstOfMonth(year, month, 1);
    if (!firstOfMonth.isValid())
        return std::nullopt;
    const QDate end = firstOfMonth.addDays(firstOfMonth.daysInMonth() - 1);
    const int target = std::min({week, WeekOfMonth(end), kLastStoredWeek});
    QDate first = firstOfMonth;
    for (int w = 1; w < target; first = first.addDays(1))
        if (first.dayOfWeek() == kSaturday)
            ++w;
    QDate last = first;
    if (target == kLastStoredWeek)
        last = end;
    while (last < end && last.dayOfWeek() != kSaturday)
        last = last.addDays(1);
    return WeekSpan{first, last};
}

bool CanPlaceFrom(const QDate& from) {
    return from.isValid() && from.year() >= 1 && from.year() <= kLastCalendarYear - 2;
}

std::optional<WeekSpan> NextOccurrence(const QString& tuki, const QString& shuu, const QDate& today) {
    const std::optional<MonthWeek> slot = MonthWeek::fromTexts(tuki, shuu);
    if (!slot || !today.isValid())
        return std::nullopt;
    const std::optional<WeekSpan> thisYear = WeekDays(today.year(), slot->month, slot->week);
    if (thisYear && thisYear->last >= today)
        return thisYear;
    return WeekDays(today.year() + 1, slot->month, slot->week);
}

QString EventUid(const TYotei& task, int occurrence) {
    const std::optional<MonthWeek> slot = MonthWeek::fromTexts(task.tuki, task.shuu);
    const int month = slot ? slot->month : 0;
    const int week = slot ? slot->week : 0;
    // Unit separators keep "ab"+"c" apart from "a"+"bc".
    const QString key = QStringList{task.name, QString::number(month), QString::number(week),
                                    task.note.join(QLatin1Char('\n')), QString::number(occurrence)}
                            .join(QChar(0x1f));
    const QByteArray digest = QCryptographicHash::hash(key.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QString::fromLatin1(digest) + QStringLiteral("@aobaroku");
}

CalendarPlan PlanCalendar(const TYoteiList& tasks, const QDate& today) {
    CalendarPlan plan;
    QHash<QString, int> seen;
    for (int i = 0; i < tasks.count(); ++i) {
        const TYotei& task = *tasks.at(i);
        if (task.isDone())
            continue;
        const std::optional<WeekSpan> days = NextOccurrence(task.tuki, task.shuu, today);
        if (!days) {
            ++plan.leftOut;
            continue;
        }
        const QString base = EventUid(task, 0);
        const int occurrence = seen[base]++;
        plan.events.append({&task, *days, occurrence == 0 ? base : EventUid(task, occurrence)});
    }
    return plan;
}

QByteArray CalendarIcs(const CalendarPlan& plan, const QDateTime& stamp, const CalendarOptions& options) {
    icalerror_set_errors_are_fatal(0);
    Component calendar = newCalendar();
    if (options.refreshes)
        addRefresh(calendar.get());
    const icaltimetype utcStamp = icalUtc(stamp);
    for (const CalendarEvent& event : plan.events) {
        Component vevent = newEvent(event, utcStamp);
        if (options.alarms)
            icalcomponent_add_component(vevent.get(), morningAlarm(*event.task).release());
        icalcomponent_add_component(calendar.get(), vevent.release());
    }
    char* text = icalcomponent_as_ical_string_r(calendar.get());
    if (!text)
        throw std::runtime_error("カレンダーを書き出せませんでした。");
    QByteArray bytes(text);
    icalmemory_free_buffer(text);
    return bytes;
}
