#pragma once

#include <QString>

namespace syncing {

// Why a command's save was not made: the file had been changed elsewhere.
// The saver puts it under its own message that the save failed.
inline QString changedElsewhereReason(const QString& list) {
    return QStringLiteral("%1のファイルがほかで変更されていたため、読み込み直しました。"
                          "この操作は反映されていません。今の内容を確かめて、もう一度行ってください。")
        .arg(list);
}

// The history's name for a change made elsewhere: ほかで変更「予定」.
inline QString outsideChangeName(const QString& list) {
    return QStringLiteral("ほかで変更「%1」").arg(list);
}

} // namespace syncing
