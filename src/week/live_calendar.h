#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

class TYoteiList;
namespace settings {
class Preferences;
}

// The calendar kept current: a file the user chose once, rewritten whole after
// every change of the schedule, which calendar programs subscribe to. Its path
// and the alarm choice are the user's preferences, never the notebook's.
class LiveCalendar {
public:
    explicit LiveCalendar(settings::Preferences& preferences);

    QString file() const;
    bool alarms() const;
    // An empty file stops keeping a calendar; the last one written stays.
    void choose(const QString& file, bool alarms);

    // Writes the calendar of the schedule as of today, unless the file already
    // holds exactly that from this run. Empty on success or when nothing was
    // due; otherwise what to tell the user. Written atomically, through the
    // same guard as the exports: never in place of a file of the notebook.
    QString update(const TYoteiList& tasks, const QDate& today, const QString& dataFolder);
    // How many events the last write held.
    int lastEvents() const { return m_events; }

private:
    settings::Preferences& m_preferences;
    QByteArray m_written; // what was last written, stamped with a fixed moment
    int m_events = 0;
};
