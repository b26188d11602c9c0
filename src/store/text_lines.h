#pragma once

#include <QString>
#include <QStringList>

namespace store {

// Splits at CR LF, LF or CR. An empty text has no lines; a final break adds no empty line.
QStringList splitLines(const QString& text);
// Every line followed by CR LF; no lines give an empty text.
QString joinLines(const QStringList& lines);

} // namespace store
