#include "app/windowless_commands.h"

#include "exports/export_commands.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace {

int printVersion(const CommandRun& run) {
    run.out << QStringLiteral("青葉録 ") << QStringLiteral(AOBAROKU_VERSION) << '\n'
            << dataFolderLine(run.dataFolder) << '\n';
    return 0;
}

QCommandLineOption valued(const char* name, const char* description, const char* valueName) {
    return QCommandLineOption(QString::fromLatin1(name), QString::fromUtf8(description),
                              QString::fromLatin1(valueName));
}

int exportCalendar(const CommandRun& run) {
    QDate from = QDate::currentDate();
    if (run.parser.isSet(QStringLiteral("from")))
        from = QDate::fromString(run.parser.value(QStringLiteral("from")), Qt::ISODate);
    return exportCalendarCommand(run.dataFolder.path, run.parser.value(QStringLiteral("export-calendar")),
                                 from, run.out, run.err);
}

int exportPurchases(const CommandRun& run) {
    return exportPurchasesCommand(run.dataFolder.path, run.parser.value(QStringLiteral("export-purchases")),
                                  run.parser.value(QStringLiteral("year")),
                                  run.parser.value(QStringLiteral("month")), run.out, run.err);
}

int exportCrops(const CommandRun& run) {
    return exportCropsCommand(run.dataFolder.path, run.parser.value(QStringLiteral("export-crops")), run.out,
                              run.err);
}

} // namespace

QList<WindowlessCommand> windowlessCommands() {
    return {
        {QCommandLineOption(QStringLiteral("version"), QStringLiteral("版とデータフォルダーを表示します。")),
         {},
         printVersion},
        {valued("export-calendar", "開いている予定を iCalendar ファイルに書き出します。", "FILE"),
         {valued("from", "この日から次に来る週に置きます（既定は今日）。", "YYYY-MM-DD")},
         exportCalendar},
        {valued("export-purchases", "購入履歴を CSV ファイルに書き出します。", "FILE"),
         {valued("year", "この年だけ（既定はすべて）。", "Y"),
          valued("month", "この月だけ（既定はすべて）。", "M")},
         exportPurchases},
        {valued("export-crops", "作物一覧を CSV ファイルに書き出します。", "FILE"), {}, exportCrops},
    };
}

QString dataFolderLine(const store::DataFolder& folder) {
    QString line = QStringLiteral("データフォルダー: ") + folder.path;
    if (!store::dataFolderExists(folder))
        line += folder.kind == store::DataFolder::Kind::PerUser ? QStringLiteral("（初回の起動で作成します）")
                                                                : QStringLiteral("（ありません）");
    return line;
}
