#pragma once

#include "history/change.h"
#include "history/history_folder.h"

#include <QString>
#include <QStringList>

namespace history {

// What the history tells the gardener beyond the names of its changes
// (change_text.h): why it keeps nothing, what it could not read, why an undo
// did not go through and what became of the files.

inline const QString kFilesUnchanged = QStringLiteral("ファイルは変わっていません。");

// At the start: the history folder is not used, and why.
QString notInUseNote(HistoryFolder::Problem problem, int error);
// Undo and its kin while the history is not used.
QString notInUseMessage();
// At the start: records that could not be read, counted, and the last change
// read before the first of them (null when there is none).
QString unreadableRecordsNote(int count, const Change* before);

// "保存してある yotei.xml の版が壊れています（内容が記録と違います）。"
QString damagedVersionText(const QString& file, const QString& problem);
QString missingVersionText(const QString& file);

// After an undo, redo or restore that stopped half way and could not be taken back at once.
QString leftHalfDoneText(const QStringList& files);
// The second line of a save message, when such a file was to be saved.
QString refusedSaveReason(const Change& halfDone, const QString& cause);
// Undo and its kin while one is still half done.
QString stillHalfDoneText(const Change& halfDone, const QString& cause);

// At the start, about one a killed run left half done.
QString rolledBackNote(const Change& change);
QString finishedNote(const Change& change);
QString stillHalfDoneNote(const Change& change, const QString& cause);

// A failure of the system in the user's words: the common causes as a save
// message gives them, otherwise the system's own text.
QString systemCause(int error);

} // namespace history
