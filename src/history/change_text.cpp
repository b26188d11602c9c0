#include "history/change_text.h"

#include <QStringList>

namespace history {

namespace {

QString countText(bool exists, int records) {
    if (!exists)
        return QStringLiteral("なし");
    return records < 0 ? QStringLiteral("?") : QString::number(records);
}

} // namespace

QString clockText(const QDateTime& time) {
    return time.toString(QStringLiteral("HH:mm"));
}

QString listTime(const QDateTime& time) {
    return time.toString(QStringLiteral("yyyy/MM/dd HH:mm"));
}

QString namedAtItsTime(const Change& change) {
    return change.name + QStringLiteral("（") + clockText(change.time) + QStringLiteral("）");
}

QString fileText(const Change& change, const FileChange& file) {
    if (change.kind == ChangeKind::Unreadable)
        return file.file + QStringLiteral("（読み込めなかった版）");
    QString text = file.file + QLatin1Char(' ') + countText(file.existedBefore, file.recordsBefore) +
                   QStringLiteral(" → ") + countText(file.after.exists, file.recordsAfter);
    if (file.external)
        text += QStringLiteral("（ほかで変更された版も保存）");
    return text;
}

QString filesText(const Change& change) {
    QStringList texts;
    for (const FileChange& f : change.files)
        texts << fileText(change, f);
    return texts.join(QStringLiteral("、"));
}

QString undoName(const Change& undone) {
    return QStringLiteral("元に戻す（") + undone.name + QStringLiteral("）");
}

QString redoName(const Change& redone) {
    return QStringLiteral("やり直し（") + redone.name + QStringLiteral("）");
}

// An undo, redo or restore already carries the name of what it took back:
// restoring to before one is named by its time alone, so names never nest.
QString restoreName(const Change& restored) {
    const bool rewound = restored.kind == ChangeKind::Undo || restored.kind == ChangeKind::Redo ||
                         restored.kind == ChangeKind::Restore;
    return QStringLiteral("履歴から戻す（") + listTime(restored.time) +
           (rewound ? QString() : QLatin1Char(' ') + restored.name) + QStringLiteral("）");
}

} // namespace history
