#include "week/week_tasks.h"

#include "exports/export_commands.h"

namespace {

QString oneLine(QString text) {
    for (QChar& c : text)
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    return text;
}

void addLines(QByteArray& out, const QString& filter, const TYoteiRefList& tasks) {
    for (const TYotei* task : tasks.items())
        out += QStringList{filter, oneLine(task->tuki), oneLine(task->shuu), oneLine(task->name),
                           oneLine(task->state)}
                   .join(QLatin1Char('\t'))
                   .toUtf8() +
               '\n';
}

} // namespace

WeekTasks TasksOfWeek(const TYoteiList& tasks, const QDate& today) {
    WeekTasks week;
    tasks.Filter(kFilterThisWeek, today, week.thisWeek);
    tasks.Filter(kFilterPast, today, week.past);
    return week;
}

QByteArray WeekLines(const WeekTasks& week) {
    QByteArray out;
    addLines(out, kFilterThisWeek, week.thisWeek);
    addLines(out, kFilterPast, week.past);
    return out;
}

int ReadSchedule(const QString& dataFolder, TYoteiList& tasks, QTextStream& err) {
    const std::optional<QString> folder = commandFolder(dataFolder, err);
    if (!folder)
        return 2;
    CommandErrorSink sink(err);
    if (!tasks.LoadFromFile(*folder, sink) || sink.failed())
        return 1;
    tasks.SortByWeek();
    return 0;
}

int printWeekCommand(const QString& dataFolder, const QDate& day, QTextStream& out, QTextStream& err) {
    TYoteiList tasks;
    if (const int failed = ReadSchedule(dataFolder, tasks, err))
        return failed;
    // The stream writes UTF-8 without a byte-order mark.
    out << QString::fromUtf8(WeekLines(TasksOfWeek(tasks, day)));
    out.flush();
    return 0;
}
