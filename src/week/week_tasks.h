#pragma once

#include "schedule/task_records.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTextStream>

// The week's work as the schedule tab shows it: the rows under 今週 and the
// rows under 過ぎてる on a given day, both in the tab's order.
struct WeekTasks {
    TYoteiRefList thisWeek; // completed ones included, as the tab lists them
    TYoteiRefList past;     // open tasks of earlier weeks of this year
};

// tasks in the order the tab holds them (sorted by week after loading).
WeekTasks TasksOfWeek(const TYoteiList& tasks, const QDate& today);

// One line per task, the filter first: 今週 or 過ぎてる, month, week, name and
// state as the file holds them, separated by tabs, each line ending with LF.
// A tab or line break inside a text becomes a space, so a line stays a task.
QByteArray WeekLines(const WeekTasks& week);

// Reads the schedule of the data folder as the program does, sorted as the tab
// holds it. 0 when read; 1 after a load message on err; 2 when the folder is missing.
int ReadSchedule(const QString& dataFolder, TYoteiList& tasks, QTextStream& err);

// --print-week: the lines on out. The exit code: 0 also when nothing is due.
int printWeekCommand(const QString& dataFolder, const QDate& day, QTextStream& out, QTextStream& err);
