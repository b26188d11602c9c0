#include "app/save_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString standardFolder(SaveKind kind) {
    const QString folder = QStandardPaths::writableLocation(
        kind == SaveKind::Picture ? QStandardPaths::PicturesLocation : QStandardPaths::DocumentsLocation);
    return !folder.isEmpty() && QFileInfo(folder).isDir() ? folder : QDir::homePath();
}

} // namespace

QString saveDialogStart(const settings::Preferences& preferences, const SaveRequest& request) {
    QString folder = preferences.lastFolder(request.dialog);
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = standardFolder(request.kind);
    return QDir(folder).filePath(request.proposed);
}

void rememberSaveFolder(settings::Preferences& preferences, const SaveRequest& request, const QString& path) {
    if (path.isEmpty())
        return;
    preferences.setLastFolder(request.dialog, QFileInfo(path).absolutePath());
    preferences.sync();
}
