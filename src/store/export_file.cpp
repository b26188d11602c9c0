#include "store/export_file.h"

#include "store/notebook_files.h"
#include "store/outside_write.h"

namespace {

QString writeFailed(const QString& path, const QString& reason) {
    return QStringLiteral("書き出しに失敗しました: %1（%2）").arg(path, reason);
}

} // namespace

QString writeExportFile(const QString& path, const QByteArray& bytes, const QString& dataFolder) {
    // A slip in the save dialog or on the command line, or a link that leads
    // there, must not put a CSV file in place of the user's catalogue.
    const store::OutsideWrite written =
        store::writeOutsideNotebook(path, bytes, store::notebookFiles(dataFolder));
    switch (written.result) {
    case store::OutsideWrite::Result::Written:
        return QString();
    case store::OutsideWrite::Result::Refused:
        return writeFailed(path, QStringLiteral("青葉録のデータファイルには書き出せません。"));
    case store::OutsideWrite::Result::Failed:
        break;
    }
    return writeFailed(path, written.reason);
}
