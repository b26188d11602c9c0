#include "exports/export_commands.h"

#include "crops/crop_records.h"
#include "exports/calendar_export.h"
#include "exports/csv_export.h"
#include "exports/export_messages.h"
#include "exports/harvest_csv.h"
#include "harvest/harvest_book.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"
#include "store/export_file.h"
#include "store/message_sink.h"

#include <QDateTime>
#include <QFileInfo>
#include <exception>
#include <optional>

void CommandErrorSink::loadFailed(const QString& text, const QString& path) {
    message(text + QLatin1Char('\n') + exportmsg::unreadableNothingWritten(path));
}

std::optional<QString> commandFolder(const QString& dataFolder, QTextStream& err) {
    if (!QFileInfo(dataFolder).isDir()) {
        err << exportmsg::noDataFolder(dataFolder) << Qt::endl;
        return std::nullopt;
    }
    return dataFolder.endsWith(QLatin1Char('/')) ? dataFolder : dataFolder + QLatin1Char('/');
}

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

using ErrorSink = CommandErrorSink;

// The file's bytes and the line that says what they hold.
struct Output {
    QByteArray bytes;
    QString said;
};

int write(const QString& file, const Output& output, const QString& folder, QTextStream& out,
          QTextStream& err) {
    const QString failure = writeExportFile(file, output.bytes, folder);
    if (!failure.isEmpty()) {
        err << failure << Qt::endl;
        return kFailed;
    }
    out << file << QStringLiteral(": ") << output.said << Qt::endl;
    return kDone;
}

// Reads the records with load, builds the file and writes it; the first failure ends it.
template <class Load, class Build>
int runExport(const QString& dataFolder, const QString& file, QTextStream& out, QTextStream& err, Load load,
              Build build) {
    const std::optional<QString> folder = commandFolder(dataFolder, err);
    if (!folder)
        return kUsage;
    try {
        ErrorSink sink(err);
        if (!load(*folder, sink) || sink.failed())
            return kFailed;
        return write(file, build(), *folder, out, err);
    } catch (const std::exception& e) {
        err << QString::fromUtf8(e.what()) << Qt::endl;
        return kFailed;
    }
}

QString orAll(const QString& filter) {
    return filter.isEmpty() ? kCostAllEntries : filter;
}

} // namespace

int exportCalendarCommand(const QString& dataFolder, const QString& file, const QDate& from, QTextStream& out,
                          QTextStream& err) {
    if (!from.isValid()) {
        err << QStringLiteral("日付が正しくありません。") << Qt::endl;
        return kUsage;
    }
    TYoteiList tasks;
    return runExport(
        dataFolder, file, out, err,
        [&](const QString& folder, ErrorSink& sink) { return tasks.LoadFromFile(folder, sink); },
        [&] {
            const CalendarPlan plan = PlanCalendar(tasks, from);
            return Output{CalendarIcs(plan, QDateTime::currentDateTimeUtc()),
                          exportmsg::calendarWritten(int(plan.events.size()), plan.leftOut)};
        });
}

int exportPurchasesCommand(const QString& dataFolder, const QString& file, const QString& year,
                           const QString& month, QTextStream& out, QTextStream& err) {
    TCostList costs;
    return runExport(
        dataFolder, file, out, err,
        [&](const QString& folder, ErrorSink& sink) { return costs.LoadFromFile(folder, sink); },
        [&] {
            costs.SortByDate();
            const CsvExport csv = PurchasesCsv(costs.Filter(orAll(year), orAll(month)));
            return Output{csv.bytes, exportmsg::purchasesWritten(csv.records, csv.rows)};
        });
}

int exportCropsCommand(const QString& dataFolder, const QString& file, QTextStream& out, QTextStream& err) {
    TSakumotuList crops;
    return runExport(
        dataFolder, file, out, err,
        [&](const QString& folder, ErrorSink& sink) { return crops.LoadFromFile(folder, sink); },
        [&] {
            const CsvExport csv = CropsCsv(crops);
            return Output{csv.bytes, exportmsg::cropsWritten(csv.records)};
        });
}

int exportHarvestsCommand(const QString& dataFolder, const QString& file, QTextStream& out,
                          QTextStream& err) {
    THarvestBook book;
    return runExport(
        dataFolder, file, out, err,
        [&](const QString& folder, ErrorSink& sink) { return book.shukaku.LoadFromFile(folder, sink); },
        [&] {
            book.shukaku.SortByDate();
            const CsvExport csv = HarvestsCsv(book.shukaku.Filter(kHarvestAllEntries, kHarvestAllEntries));
            return Output{csv.bytes, exportmsg::harvestsWritten(csv.records)};
        });
}

int exportDiaryCommand(const QString& dataFolder, const QString& file, QTextStream& out, QTextStream& err) {
    THarvestBook book;
    return runExport(
        dataFolder, file, out, err,
        [&](const QString& folder, ErrorSink& sink) { return book.nikki.LoadFromFile(folder, sink); },
        [&] {
            book.nikki.SortByDate();
            const CsvExport csv = DiaryCsv(book.nikki.Filter(kHarvestAllEntries, kHarvestAllEntries));
            return Output{csv.bytes, exportmsg::diaryWritten(csv.records)};
        });
}

int runExportCommand(const QString& dataFolder, const QString& file, QTextStream& out, QTextStream& err,
                     const std::function<bool(const QString& folder, store::MessageSink& sink)>& load,
                     const std::function<ExportOutput()>& build) {
    return runExport(dataFolder, file, out, err, load, [&] {
        ExportOutput made = build();
        return Output{made.bytes, made.said};
    });
}
