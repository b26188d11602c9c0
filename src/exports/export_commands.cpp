#include "exports/export_commands.h"

#include "crops/crop_records.h"
#include "exports/calendar_export.h"
#include "exports/csv_export.h"
#include "exports/export_file.h"
#include "exports/export_messages.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"
#include "store/message_sink.h"

#include <QDateTime>
#include <QFileInfo>
#include <exception>
#include <optional>

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

// Passes every loader message on to standard error and remembers that one came.
class ErrorSink : public store::MessageSink {
public:
    explicit ErrorSink(QTextStream& err) : m_err(err) {}
    void message(const QString& text) override {
        m_err << text << Qt::endl;
        m_failed = true;
    }
    bool failed() const { return m_failed; }

private:
    QTextStream& m_err;
    bool m_failed = false;
};

// The loaders take the folder with its closing slash.
std::optional<QString> folderPath(const QString& dataFolder, QTextStream& err) {
    if (!QFileInfo(dataFolder).isDir()) {
        err << exportmsg::noDataFolder(dataFolder) << Qt::endl;
        return std::nullopt;
    }
    return dataFolder.endsWith(QLatin1Char('/')) ? dataFolder : dataFolder + QLatin1Char('/');
}

int write(const QString& file, const QByteArray& bytes, const QString& done, QTextStream& out,
          QTextStream& err) {
    const QString failure = writeExportFile(file, bytes);
    if (!failure.isEmpty()) {
        err << failure << Qt::endl;
        return kFailed;
    }
    out << file << QStringLiteral(": ") << done << Qt::endl;
    return kDone;
}

// The records are read, built into bytes and written, or the first failure ends it.
template <class Run> int guarded(QTextStream& err, Run run) {
    try {
        return run();
    } catch (const std::exception& e) {
        err << QString::fromLocal8Bit(e.what()) << Qt::endl;
        return kFailed;
    }
}

QString orAll(const QString& filter) {
    return filter.isEmpty() ? kCostAllEntries : filter;
}

} // namespace

int exportCalendarCommand(const QString& dataFolder, const QString& file, const QDate& from, QTextStream& out,
                          QTextStream& err) {
    const std::optional<QString> folder = folderPath(dataFolder, err);
    if (!folder)
        return kUsage;
    if (!from.isValid()) {
        err << QStringLiteral("日付が正しくありません。") << Qt::endl;
        return kUsage;
    }
    return guarded(err, [&] {
        TYoteiList tasks;
        ErrorSink sink(err);
        if (!tasks.LoadFromFile(*folder, sink) || sink.failed())
            return kFailed;
        const CalendarPlan plan = PlanCalendar(tasks, from);
        const QByteArray ics = CalendarIcs(plan, QDateTime::currentDateTimeUtc());
        return write(file, ics, exportmsg::calendarWritten(int(plan.events.size()), plan.leftOut), out, err);
    });
}

int exportPurchasesCommand(const QString& dataFolder, const QString& file, const QString& year,
                           const QString& month, QTextStream& out, QTextStream& err) {
    const std::optional<QString> folder = folderPath(dataFolder, err);
    if (!folder)
        return kUsage;
    return guarded(err, [&] {
        TCostList costs;
        ErrorSink sink(err);
        if (!costs.LoadFromFile(*folder, sink) || sink.failed())
            return kFailed;
        costs.SortByDate();
        const CsvExport csv = PurchasesCsv(costs.Filter(orAll(year), orAll(month)));
        return write(file, csv.bytes, exportmsg::purchasesWritten(csv.records, csv.rows), out, err);
    });
}

int exportCropsCommand(const QString& dataFolder, const QString& file, QTextStream& out, QTextStream& err) {
    const std::optional<QString> folder = folderPath(dataFolder, err);
    if (!folder)
        return kUsage;
    return guarded(err, [&] {
        TSakumotuList crops;
        ErrorSink sink(err);
        if (!crops.LoadFromFile(*folder, sink) || sink.failed())
            return kFailed;
        const CsvExport csv = CropsCsv(crops);
        return write(file, csv.bytes, exportmsg::cropsWritten(csv.records), out, err);
    });
}
