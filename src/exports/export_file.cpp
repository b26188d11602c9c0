#include "exports/export_file.h"

#include "exports/export_messages.h"
#include "store/save_file.h"

#include <exception>

QString writeExportFile(const QString& path, const QByteArray& bytes) {
    try {
        store::saveBytes(path, bytes);
    } catch (const std::exception& e) {
        return exportmsg::writeFailed(path, QString::fromLocal8Bit(e.what()));
    }
    return QString();
}
