#pragma once

#include <QString>

namespace syncing {

// The per-user data folder holds the user's garden records: nobody else may
// read them. A folder the user made by hand to copy a notebook in (0755,
// files 0644) is tightened to 0700, everything inside to 0700 for folders
// and 0600 for files. Links are neither followed nor changed. True when
// anything was tightened, so the start can say so once.
bool makePrivate(const QString& folder);

inline QString madePrivateNote(const QString& folder) {
    return QStringLiteral("データフォルダーをほかのユーザーが読めないようにしました: %1").arg(folder);
}

} // namespace syncing
