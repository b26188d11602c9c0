#pragma once

#include <QString>
#include <QStringList>

namespace store {

// Splits at CR LF, LF or CR. An empty text has no lines; a final break adds no empty line.
QStringList splitLines(const QString& text);
// Every line followed by CR LF; no lines give an empty text.
QString joinLines(const QStringList& lines);

// The text of a multi-line box that shows the lines, one per line of the box:
// the lines with a break between them, none after the last.
QString boxText(const QStringList& lines);
// The lines of a box's text: one per line of the box, so a break at the end
// gives an empty last line. An empty box holds no lines.
QStringList boxLines(const QString& text);

} // namespace store
