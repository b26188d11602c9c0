#include "exports/export_messages.h"

#include <QDir>
#include <QFileInfo>

namespace exportmsg {

QString calendarWritten(int events, int leftOut) {
    QString text = QStringLiteral("予定 %1件をカレンダーに書き出しました。").arg(events);
    if (leftOut > 0)
        text += QStringLiteral("月か週が正しくない予定 %1件は書き出していません。").arg(leftOut);
    return text;
}

QString purchasesWritten(int purchases, int rows) {
    return QStringLiteral("購入履歴 %1件（%2行）を書き出しました。").arg(purchases).arg(rows);
}

QString cropsWritten(int crops) {
    return QStringLiteral("作物 %1件を書き出しました。").arg(crops);
}

QString unreadableNothingWritten(const QString& dataFile) {
    return QStringLiteral("%1 を読めないため、何も書き出していません。")
        .arg(QDir::toNativeSeparators(QFileInfo(dataFile).absoluteFilePath()));
}

// The command line's own wording for a --data folder that is not there.
QString noDataFolder(const QString& folder) {
    return QStringLiteral("データフォルダーがありません: %1").arg(folder);
}

} // namespace exportmsg
