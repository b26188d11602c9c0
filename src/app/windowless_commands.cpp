#include "app/windowless_commands.h"

#include "exports/calendar_export.h"
#include "exports/export_commands.h"
#include "seasons/rotation_export.h"
#include "week/week_reminder.h"
#include "week/week_tasks.h"

#include <QCommandLineParser>
#include <QTextStream>
#include <algorithm>
#include <optional>

namespace {

const QString kFrom = QStringLiteral("from");
const QString kYear = QStringLiteral("year");
const QString kMonth = QStringLiteral("month");

int printVersion(const CommandRun& run) {
    run.out << QStringLiteral("青葉録 ") << QStringLiteral(AOBAROKU_VERSION) << '\n'
            << dataFolderLine(run.dataFolder) << '\n';
    return 0;
}

QCommandLineOption valued(const char* name, const char* description, const char* valueName) {
    return QCommandLineOption(QString::fromLatin1(name), QString::fromUtf8(description),
                              QString::fromLatin1(valueName));
}

// A whole number in decimal digits from lowest to highest: "05" is 5. Digits
// typed full width by an input method count too.
std::optional<int> wholeNumber(const QString& text, int lowest, int highest) {
    const QString digits = text.normalized(QString::NormalizationForm_KC);
    if (digits.isEmpty() || digits.size() > 9 ||
        !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    const int value = digits.toInt();
    if (value < lowest || value > highest)
        return std::nullopt;
    return value;
}

std::optional<int> yearOf(const QCommandLineParser& parser) {
    return wholeNumber(parser.value(kYear), 1, 9999);
}

std::optional<int> monthOf(const QCommandLineParser& parser) {
    return wholeNumber(parser.value(kMonth), 1, 12);
}

// As the purchase tab's filter holds it: "すべて" when not given.
QString filterText(const QCommandLineParser& parser, const QString& name, std::optional<int> value) {
    return parser.isSet(name) ? QString::number(*value) : QString();
}

QDate fromOf(const QCommandLineParser& parser) {
    return parser.isSet(kFrom) ? QDate::fromString(parser.value(kFrom), Qt::ISODate) : QDate::currentDate();
}

QString noFileName(const QCommandLineParser& parser, const QString& name) {
    if (!parser.value(name).isEmpty())
        return QString();
    return QStringLiteral("--%1 に書き出すファイルの名前がありません。").arg(name);
}

int exportCalendar(const CommandRun& run) {
    return exportCalendarCommand(run.dataFolder.path, run.parser.value(QStringLiteral("export-calendar")),
                                 fromOf(run.parser), run.out, run.err);
}

QString checkCalendar(const QCommandLineParser& parser) {
    if (const QString fault = noFileName(parser, QStringLiteral("export-calendar")); !fault.isEmpty())
        return fault;
    if (parser.isSet(kFrom) && !CanPlaceFrom(fromOf(parser)))
        return QStringLiteral(
                   "--from には 0001-01-01 から %1-12-31 までの日付を YYYY-MM-DD の形で指定してください: %2")
            .arg(kLastCalendarYear - 2)
            .arg(parser.value(kFrom));
    return QString();
}

int exportPurchases(const CommandRun& run) {
    return exportPurchasesCommand(run.dataFolder.path, run.parser.value(QStringLiteral("export-purchases")),
                                  filterText(run.parser, kYear, yearOf(run.parser)),
                                  filterText(run.parser, kMonth, monthOf(run.parser)), run.out, run.err);
}

// The purchase tab offers months only within a chosen year, and so does the export.
QString checkPurchases(const QCommandLineParser& parser) {
    if (const QString fault = noFileName(parser, QStringLiteral("export-purchases")); !fault.isEmpty())
        return fault;
    if (parser.isSet(kYear) && !yearOf(parser))
        return QStringLiteral("--year には 1 から 9999 までの年を指定してください: ") + parser.value(kYear);
    if (parser.isSet(kMonth) && !monthOf(parser))
        return QStringLiteral("--month には 1 から 12 までの月を指定してください: ") + parser.value(kMonth);
    if (parser.isSet(kMonth) && !parser.isSet(kYear))
        return QStringLiteral("--month <M> は --year <Y> と一緒に使います。");
    return QString();
}

int exportCrops(const CommandRun& run) {
    return exportCropsCommand(run.dataFolder.path, run.parser.value(QStringLiteral("export-crops")), run.out,
                              run.err);
}

QString checkCrops(const QCommandLineParser& parser) {
    return noFileName(parser, QStringLiteral("export-crops"));
}

int exportHarvests(const CommandRun& run) {
    return exportHarvestsCommand(run.dataFolder.path, run.parser.value(QStringLiteral("export-harvests")),
                                 run.out, run.err);
}

QString checkHarvests(const QCommandLineParser& parser) {
    return noFileName(parser, QStringLiteral("export-harvests"));
}

int exportDiary(const CommandRun& run) {
    return exportDiaryCommand(run.dataFolder.path, run.parser.value(QStringLiteral("export-diary")), run.out,
                              run.err);
}

QString checkDiary(const QCommandLineParser& parser) {
    return noFileName(parser, QStringLiteral("export-diary"));
}

int exportRotation(const CommandRun& run) {
    return seasons::exportRotationCommand(run.dataFolder.path,
                                          run.parser.value(QStringLiteral("export-rotation")),
                                          QDate::currentDate(), run.out, run.err);
}

QString checkRotation(const QCommandLineParser& parser) {
    return noFileName(parser, QStringLiteral("export-rotation"));
}

const QString kDate = QStringLiteral("date");

QDate dayOf(const QCommandLineParser& parser) {
    return parser.isSet(kDate) ? QDate::fromString(parser.value(kDate), Qt::ISODate) : QDate::currentDate();
}

int printWeek(const CommandRun& run) {
    return printWeekCommand(run.dataFolder.path, dayOf(run.parser), run.out, run.err);
}

QString checkPrintWeek(const QCommandLineParser& parser) {
    if (!dayOf(parser).isValid())
        return QStringLiteral("--date には日付を YYYY-MM-DD の形で指定してください: ") + parser.value(kDate);
    return QString();
}

int remind(const CommandRun& run) {
    return remindCommand(run.dataFolder.path, QDate::currentDate(), run.out, run.err);
}

QString nothingToCheck(const QCommandLineParser&) {
    return QString();
}

} // namespace

QList<WindowlessCommand> windowlessCommands() {
    return {
        {QCommandLineOption(QStringLiteral("version"), QStringLiteral("版とデータフォルダーを表示します。")),
         {},
         printVersion,
         nothingToCheck,
         false},
        {valued("export-calendar", "開いている予定を iCalendar ファイルに書き出します。", "FILE"),
         {valued("from", "この日から次に来る週に置きます（既定は今日。2998-12-31 まで）。", "YYYY-MM-DD")},
         exportCalendar,
         checkCalendar,
         true},
        {valued("export-purchases", "購入履歴を CSV ファイルに書き出します。", "FILE"),
         {valued("year", "この年だけ（1〜9999。既定はすべて）。", "Y"),
          valued("month", "--year の年のこの月だけ（1〜12。既定はすべて）。", "M")},
         exportPurchases,
         checkPurchases,
         true},
        {valued("export-crops", "作物一覧を CSV ファイルに書き出します。", "FILE"),
         {},
         exportCrops,
         checkCrops,
         true},
        {valued("export-harvests", "収穫の記録を CSV ファイルに書き出します。", "FILE"),
         {},
         exportHarvests,
         checkHarvests,
         true},
        {valued("export-diary", "日誌を CSV ファイルに書き出します。", "FILE"),
         {},
         exportDiary,
         checkDiary,
         true},
        {valued("export-rotation", "連作表（畝ごと・年度ごとの科と作物）を CSV ファイルに書き出します。",
                "FILE"),
         {},
         exportRotation,
         checkRotation,
         true},
        {QCommandLineOption(QStringLiteral("print-week"),
                            QStringLiteral("今週の予定と過ぎてる予定を一行ずつ表示します（タブ区切り）。")),
         {valued("date", "この日の今週と過ぎてる（既定は今日）。", "YYYY-MM-DD")},
         printWeek,
         checkPrintWeek,
         false},
        {QCommandLineOption(QStringLiteral("remind"),
                            QStringLiteral("今週の作業と過ぎてる作業をデスクトップの通知で知らせます。")),
         {},
         remind,
         nothingToCheck,
         false},
    };
}

QString dataFolderLine(const store::DataFolder& folder) {
    QString line = QStringLiteral("データフォルダー: ") + folder.path;
    if (!store::dataFolderExists(folder))
        line += folder.kind == store::DataFolder::Kind::PerUser ? QStringLiteral("（初回の起動で作成します）")
                                                                : QStringLiteral("（ありません）");
    return line;
}
