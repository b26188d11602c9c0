#pragma once

#include <QString>

// What an export tells the gardener, the same in the window and on the command line.
namespace exportmsg {

QString calendarWritten(int events, int leftOut);
QString purchasesWritten(int purchases, int rows);
QString cropsWritten(int crops);
// The line after the load message of a data file an export could not read.
QString unreadableNothingWritten(const QString& dataFile);
QString noDataFolder(const QString& folder);

} // namespace exportmsg
