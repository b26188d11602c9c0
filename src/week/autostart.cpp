#include "week/autostart.h"

#include "store/export_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// An argument of Exec: quoted when it holds anything but plain characters, with
// the quoting's own characters escaped, then escaped again as a desktop-entry
// string; a per cent sign is doubled for the field codes.
QString execArgument(QString text) {
    const bool plain = std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.isLetterOrNumber() || QStringLiteral("/-_.+,:@").contains(c);
    });
    text.replace(QLatin1Char('%'), QStringLiteral("%%"));
    if (plain)
        return text;
    QString quoted;
    for (QChar c : text) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString RemindEntryPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/") + QStringLiteral(AOBAROKU_APP_ID) +
           QStringLiteral("-remind.desktop");
}

QByteArray RemindEntry(const QString& programPath, const QString& dataFolder) {
    QString folder = dataFolder;
    if (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    const QString exec =
        execArgument(programPath) + QStringLiteral(" --remind --data ") + execArgument(folder);
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=青葉録 今週の作業\n"
                          "Comment=ログイン時に今週の作業と過ぎてる作業を知らせます\n"
                          "Exec=%1\n"
                          "Icon=%2\n"
                          "Terminal=false\n"
                          "NoDisplay=true\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(exec, QStringLiteral(AOBAROKU_APP_ID))
        .toUtf8();
}

bool RemindEntryWritten() {
    return QFileInfo::exists(RemindEntryPath());
}

QString SetRemindAtLogin(bool remind, const QString& programPath, const QString& dataFolder) {
    const QString path = RemindEntryPath();
    if (!remind) {
        if (QFile::exists(path) && !QFile::remove(path))
            return QStringLiteral("自動起動の設定を消せませんでした: ") + path;
        return QString();
    }
    QDir().mkpath(QFileInfo(path).path());
    return writeExportFile(path, RemindEntry(programPath, dataFolder), dataFolder);
}
