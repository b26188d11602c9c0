#pragma once

#include "history/change.h"

#include <QString>

namespace history {

inline const QString kNothingToUndo = QStringLiteral("元に戻せる変更はありません。");
inline const QString kNothingToRedo = QStringLiteral("やり直せる変更はありません。");

// "12:41", as the undo and redo messages give it.
QString clockText(const QDateTime& time);
// "2026/12/09 12:41", as the history window lists it.
QString listTime(const QDateTime& time);

// How the messages name a change: 予定「完了にする」（12:41）.
QString namedAtItsTime(const Change& change);

// "yotei.xml 404 → 403": the records before and after; なし for no file, ? where not known.
QString fileText(const Change& change, const FileChange& file);
// Every file of the change, joined.
QString filesText(const Change& change);

// The names under which undo, redo and restore are kept themselves.
QString undoName(const Change& undone);
QString redoName(const Change& redone);
QString restoreName(const Change& restored);

} // namespace history
