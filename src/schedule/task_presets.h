#pragma once

#include "schedule/calendar.h"

#include <QList>
#include <QString>
#include <QStringList>

// Ready-made task names and the standard preparation tasks drafted from a
// planting-plan entry. Plain data for the dialogs to show.

// The names offered by the task dialog's name box, in order (full-width dashes and digits).
const QStringList& TaskNamePresets();

// One of the six preparation tasks, set this many weeks before the entry's start.
struct QuoteTask {
    QString name;
    int weeksBefore; // 0: the start week itself
};

// Top to bottom: 畝の準備, 種を購入, 苗作り, 苗を購入, 種まき, 植え付け.
const QList<QuoteTask>& QuoteTasks();

// A row of the easy-add dialog as it opens: month and week as the texts its
// lists select (a list falls back to its first item when none equals them).
struct QuoteRowDefault {
    QString name;
    QString tuki;
    QString shuu;
    QString note;
};

// The six rows for a plan entry with the given name and start. The note of each is
// the entry's name. A start that is not a month 1 to 12 and a week 1 to 5 cannot be
// stepped back: those rows then take the start texts as they are.
QList<QuoteRowDefault> QuoteRowDefaults(const QString& entryName, const QString& stTuki,
                                        const QString& stShuu);

// The note of a task made from a one-line note box: that line, or no line for an empty box.
QStringList OneLineNote(const QString& text);
