#pragma once

#include <QDate>
#include <QString>
#include <QTextStream>

// The exports without a window, for the command line. Each reads the data
// folder's files as the program does (their messages go to err), writes the
// file atomically and prints one line to out. Returns 0 when written; 1 when a
// data file gave its load message or the file could not be written (nothing is
// written then); 2 when the data folder is missing or an argument is invalid.
// The data folder is never created or changed.

int exportCalendarCommand(const QString& dataFolder, const QString& file, const QDate& from, QTextStream& out,
                          QTextStream& err);
// year and month as the purchase tab's filters take them; "すべて" or empty for all.
int exportPurchasesCommand(const QString& dataFolder, const QString& file, const QString& year,
                           const QString& month, QTextStream& out, QTextStream& err);
int exportCropsCommand(const QString& dataFolder, const QString& file, QTextStream& out, QTextStream& err);
// Every harvest and every diary entry, oldest first; with no file yet, the header line alone.
int exportHarvestsCommand(const QString& dataFolder, const QString& file, QTextStream& out, QTextStream& err);
int exportDiaryCommand(const QString& dataFolder, const QString& file, QTextStream& out, QTextStream& err);
