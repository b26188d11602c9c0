#include "schedule/task_presets.h"

const QStringList& TaskNamePresets() {
    static const QStringList names = {
        QStringLiteral("種を購入"),       QStringLiteral("苗を購入"),     QStringLiteral("畑の準備－石灰"),
        QStringLiteral("畑の準備－元肥"), QStringLiteral("種まき"),       QStringLiteral("植えつけ"),
        QStringLiteral("植え替え"),       QStringLiteral("追肥－１回目"), QStringLiteral("追肥－２回目"),
        QStringLiteral("追肥－３回目"),
    };
    return names;
}

const QList<QuoteTask>& QuoteTasks() {
    static const QList<QuoteTask> tasks = {
        {QStringLiteral("畝の準備"), 2}, {QStringLiteral("種を購入"), 2}, {QStringLiteral("苗作り"), 0},
        {QStringLiteral("苗を購入"), 1}, {QStringLiteral("種まき"), 0},   {QStringLiteral("植え付け"), 0},
    };
    return tasks;
}

QList<QuoteRowDefault> QuoteRowDefaults(const QString& entryName, const QString& stTuki,
                                        const QString& stShuu) {
    const std::optional<MonthWeek> start = MonthWeek::fromTexts(stTuki, stShuu);
    QList<QuoteRowDefault> rows;
    for (const QuoteTask& task : QuoteTasks()) {
        QuoteRowDefault row{task.name, stTuki, stShuu, entryName};
        if (start && task.weeksBefore > 0) {
            const MonthWeek week = WeeksBefore(*start, task.weeksBefore);
            row.tuki = week.monthText();
            row.shuu = week.weekText();
        }
        rows.append(row);
    }
    return rows;
}

QStringList OneLineNote(const QString& text) {
    return text.isEmpty() ? QStringList() : QStringList{text};
}
