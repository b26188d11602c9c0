#include "exports/export_file.h"

#include "exports/export_messages.h"
#include "history/data_files.h"
#include "store/save_file.h"

QString writeExportFile(const QString& path, const QByteArray& bytes, const QString& dataFolder) {
    // A slip in the save dialog or on the command line must not put a CSV file in
    // place of the user's catalogue.
    if (history::isNotebookFile(path, dataFolder))
        return exportmsg::writeFailed(path, QStringLiteral("青葉録のデータファイルには書き出せません。"));
    if (const QString reason = store::saveNamedFile(path, bytes); !reason.isEmpty())
        return exportmsg::writeFailed(path, reason);
    return QString();
}
