#pragma once

#include <QFont>

namespace report {

// The report fonts by family, never by file: the Mincho the list was drawn
// with where it is installed, else the nearest Mincho of this system.
QFont minchoFont(double pointSize);  // ＭＳ 明朝
QFont pMinchoFont(double pointSize); // ＭＳ Ｐ明朝, the proportional one

} // namespace report
