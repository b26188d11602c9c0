#include "app/windowless_commands.h"

#include <QTextStream>

namespace {

int printVersion(const CommandRun& run) {
    run.out << QStringLiteral("青葉録 ") << QStringLiteral(AOBAROKU_VERSION) << '\n'
            << dataFolderLine(run.dataFolder) << '\n';
    return 0;
}

} // namespace

QList<WindowlessCommand> windowlessCommands() {
    return {
        {QCommandLineOption(QStringLiteral("version"), QStringLiteral("版とデータフォルダーを表示します。")),
         {},
         printVersion},
    };
}

QString dataFolderLine(const store::DataFolder& folder) {
    QString line = QStringLiteral("データフォルダー: ") + folder.path;
    if (!store::dataFolderExists(folder))
        line += folder.kind == store::DataFolder::Kind::PerUser ? QStringLiteral("（初回の起動で作成します）")
                                                                : QStringLiteral("（ありません）");
    return line;
}
