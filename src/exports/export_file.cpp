#include "exports/export_file.h"

#include "exports/export_messages.h"
#include "history/data_files.h"
#include "image/jpeg_writer.h"
#include "store/save_file.h"

#include <cerrno>
#include <exception>

QString writeExportFile(const QString& path, const QByteArray& bytes, const QString& dataFolder) {
    // A slip in the save dialog or on the command line must not put a CSV file in
    // place of the user's catalogue.
    if (history::isNotebookFile(path, dataFolder))
        return exportmsg::writeFailed(path, QStringLiteral("青葉録のデータファイルには書き出せません。"));
    errno = 0;
    try {
        store::saveBytes(path, bytes);
    } catch (const std::exception& e) {
        // The saver's own text is the system's English; say the common causes in the user's words.
        QString reason = image::writeFailureReason(path, errno);
        if (reason.isEmpty())
            reason = QString::fromLocal8Bit(e.what());
        return exportmsg::writeFailed(path, reason);
    }
    return QString();
}
