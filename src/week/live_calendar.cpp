#include "week/live_calendar.h"

#include "exports/calendar_export.h"
#include "settings/preferences.h"
#include "store/export_file.h"

#include <QDateTime>
#include <exception>

LiveCalendar::LiveCalendar(settings::Preferences& preferences) : m_preferences(preferences) {}

QString LiveCalendar::file() const {
    return m_preferences.liveCalendarFile();
}

bool LiveCalendar::alarms() const {
    return m_preferences.liveCalendarAlarms();
}

void LiveCalendar::choose(const QString& file, bool alarms) {
    m_preferences.setLiveCalendarFile(file);
    m_preferences.setLiveCalendarAlarms(alarms);
    m_preferences.sync();
    m_written.clear();
}

QString LiveCalendar::update(const TYoteiList& tasks, const QDate& today, const QString& dataFolder) {
    const QString path = file();
    if (path.isEmpty())
        return QString();
    try {
        const CalendarPlan plan = PlanCalendar(tasks, today);
        const CalendarOptions options{true, alarms()};
        // The moment of writing changes every time; what the calendar says does not.
        const QByteArray content =
            path.toUtf8() + '\n' + CalendarIcs(plan, QDateTime::fromSecsSinceEpoch(0), options);
        if (content == m_written)
            return QString();
        const QString failure =
            writeExportFile(path, CalendarIcs(plan, QDateTime::currentDateTimeUtc(), options), dataFolder);
        if (!failure.isEmpty()) {
            m_written.clear();
            return failure;
        }
        m_written = content;
        m_events = int(plan.events.size());
        return QString();
    } catch (const std::exception& e) {
        m_written.clear();
        return QString::fromUtf8(e.what());
    }
}
