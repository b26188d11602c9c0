#pragma once

#include "week/week_tasks.h"

#include <QDate>
#include <QString>
#include <QTextStream>

// The desktop reminder: one notification over the session bus
// (org.freedesktop.Notifications) listing this week's open tasks and the
// overdue ones. Its default action opens the program on the schedule tab with
// 今週 chosen, through the running program when there is one.

inline const QString kReminderTitle = QStringLiteral("今週の作業");
// Waits no longer than this for the notification to be closed or acted on.
constexpr int kReminderWaitMs = 10 * 60 * 1000;

// The notification's text: a line for each task, this week's first. Escaped
// for servers that read markup in the body.
QString ReminderBody(const WeekTasks& week, bool markup);
// Whether any task is due: this week's open ones or overdue ones.
bool ReminderDue(const WeekTasks& week);

// --remind: silent when nothing is due; says on err when no notification
// service answers. 0 in both cases; 1 or 2 when the schedule could not be read.
int remindCommand(const QString& dataFolder, const QDate& today, QTextStream& out, QTextStream& err);
