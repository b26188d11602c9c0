#pragma once

#include "seasons/rotation_table.h"
#include "store/message_sink.h"

#include <QDate>
#include <QString>
#include <QTextStream>

namespace seasons {

// The 連作表 of the notebook in the folder (ending with '/'): the eight plans by
// their years, today's year for those without, and every past season. False
// when the crops or the seasons' files gave their load message.
bool LoadRotationTable(const QString& folder, const QDate& today, store::MessageSink& sink,
                       RotationTable& table);

// --export-rotation: the table as CSV, written as every export is.
int exportRotationCommand(const QString& dataFolder, const QString& file, const QDate& today,
                          QTextStream& out, QTextStream& err);

} // namespace seasons
