#include "seasons/rotation_export.h"

#include "crops/crop_records.h"
#include "exports/export_commands.h"
#include "plans/plan_records.h"
#include "seasons/season_records.h"

namespace seasons {

bool LoadRotationTable(const QString& folder, const QDate& today, store::MessageSink& sink,
                       RotationTable& table) {
    TSakumotuList crops;
    Seasons kept;
    const bool cropsRead = crops.LoadFromFile(folder, sink);
    const bool seasonsRead = kept.LoadFromFolder(folder, sink);
    const TGroupList none;
    table = BuildRotationTable(BookOfNotebook(kept, folder, none, QString(), CropFamilies(crops), today));
    return cropsRead && seasonsRead;
}

int exportRotationCommand(const QString& dataFolder, const QString& file, const QDate& today,
                          QTextStream& out, QTextStream& err) {
    RotationTable table;
    return runExportCommand(
        dataFolder, file, out, err,
        [&](const QString& folder, store::MessageSink& sink) {
            return LoadRotationTable(folder, today, sink, table);
        },
        [&] {
            return ExportOutput{RotationCsv(table),
                                QStringLiteral("連作表（畝 %1、%2 年度）を書き出しました。")
                                    .arg(table.beds.size())
                                    .arg(table.years.size())};
        });
}

} // namespace seasons
