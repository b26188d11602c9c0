#include "exports/export_file.h"

#include "exports/export_messages.h"
#include "image/jpeg_writer.h"
#include "store/save_file.h"

#include <cerrno>
#include <exception>

QString writeExportFile(const QString& path, const QByteArray& bytes) {
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
