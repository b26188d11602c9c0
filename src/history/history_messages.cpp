#include "history/history_messages.h"

#include "history/change_text.h"
#include "store/save_file.h"

#include <cerrno>
#include <cstring>

namespace history {

namespace {

const QString kFolder = QStringLiteral("変更履歴のフォルダー（history）");
const QString kNoUndo =
    QStringLiteral("データの保存はこれまでどおり行いますが、変更の履歴は残らず、元に戻すことはできません。");

QString filesList(const QStringList& files) {
    return files.join(QStringLiteral("、"));
}

QString filesOf(const Change& change) {
    QStringList files;
    for (const FileChange& f : change.files)
        files << f.file;
    return filesList(files);
}

} // namespace

QString systemCause(int error) {
    if (const QString cause = store::failureCause(error); !cause.isEmpty())
        return cause;
    return error == 0 ? QString() : QString::fromLocal8Bit(std::strerror(error)) + QStringLiteral("。");
}

QString notInUseNote(HistoryFolder::Problem problem, int error) {
    switch (problem) {
    case HistoryFolder::Problem::Link:
        return kFolder + QStringLiteral("がリンクになっているか、リンクを含んでいるため使いません。") +
               kNoUndo;
    case HistoryFolder::Problem::NotFolder:
        return kFolder + QStringLiteral("か、その中の changes・kept がフォルダーでないため使いません。") +
               kNoUndo;
    default:
        return kFolder + QStringLiteral("を読み込めないため、変更の履歴を残すのをやめます（") +
               (error == EACCES || error == EPERM ? QStringLiteral("読み込む権限がありません。")
                                                  : systemCause(error)) +
               QStringLiteral("）。残っている履歴は消さずにそのまま置いておきます。") + kNoUndo;
    }
}

QString notInUseMessage() {
    return QStringLiteral("変更履歴が使えないため、元に戻すことはできません。");
}

QString unreadableRecordsNote(int count, const Change* before) {
    const QString from = before ? listTime(before->time) + QStringLiteral(" の「") + before->name +
                                      QStringLiteral("」より後の")
                                : QStringLiteral("最初の");
    return QStringLiteral("変更履歴のうち、") + from +
           QStringLiteral("記録を %1 件読み込めませんでした。").arg(count) +
           QStringLiteral("読み込めなかった変更は履歴に出ず、元に戻すときは飛ばされます。"
                          "その変更の版は消さずに残します。");
}

QString damagedVersionText(const QString& file, const QString& problem) {
    return QStringLiteral("保存してある ") + file + QStringLiteral(" の版が壊れています（") + problem +
           QStringLiteral("）。");
}

QString missingVersionText(const QString& file) {
    return QStringLiteral("保存してある ") + file + QStringLiteral(" の版が見つからないか、読み込めません。");
}

QString leftHalfDoneText(const QStringList& files) {
    return QStringLiteral("途中まで書き戻したファイル（") + filesList(files) +
           QStringLiteral(
               "）も元の状態に戻せませんでした。次に保存するときや元に戻すときに、もう一度戻します。"
               "戻せるまで、これらのファイルには保存できません。");
}

QString refusedSaveReason(const Change& halfDone, const QString& cause) {
    return QStringLiteral("「") + halfDone.name +
           QStringLiteral("」が途中で止まったままのため、このファイルには保存できません。") + cause;
}

QString stillHalfDoneText(const Change& halfDone, const QString& cause) {
    return QStringLiteral("「") + halfDone.name + QStringLiteral("」が途中で止まったままです。") + cause +
           kFilesUnchanged;
}

QString rolledBackNote(const Change& change) {
    return QStringLiteral("前回中断された「") + change.name +
           QStringLiteral("」を取り消し、ファイルをその前の状態に戻しました。");
}

QString finishedNote(const Change& change) {
    return QStringLiteral("前回中断された「") + change.name + QStringLiteral("」を最後まで行いました。");
}

QString stillHalfDoneNote(const Change& change, const QString& cause) {
    return QStringLiteral("前回中断された「") + change.name + QStringLiteral("」を片付けられませんでした。") +
           cause + QStringLiteral("片付くまで、") + filesOf(change) + QStringLiteral(" には保存できません。");
}

} // namespace history
