#include "exports/export_file.h"

#include "exports/export_messages.h"
#include "history/data_files.h"
#include "store/outside_write.h"

QString writeExportFile(const QString& path, const QByteArray& bytes, const QString& dataFolder) {
    // A slip in the save dialog or on the command line, or a link that leads
    // there, must not put a CSV file in place of the user's catalogue.
    const store::OutsideWrite written =
        store::writeOutsideNotebook(path, bytes, history::notebookFiles(dataFolder));
    switch (written.result) {
    case store::OutsideWrite::Result::Written:
        return QString();
    case store::OutsideWrite::Result::Refused:
        return exportmsg::writeFailed(path, QStringLiteral("青葉録のデータファイルには書き出せません。"));
    case store::OutsideWrite::Result::Failed:
        break;
    }
    return exportmsg::writeFailed(path, written.reason);
}
