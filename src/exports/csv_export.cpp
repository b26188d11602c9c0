#include "exports/csv_export.h"

#include "crops/crop_records.h"
#include "purchases/purchase_records.h"

#include <algorithm>

namespace {

const QByteArray kByteOrderMark("\xEF\xBB\xBF");

// Inside a field a line break is LF alone, as spreadsheets write a break within
// a cell; CR LF ends a record.
QString cellLines(const QStringList& lines) {
    return lines.join(QLatin1Char('\n'));
}

} // namespace

namespace csv {

QString field(const QString& text) {
    static const QString special = QStringLiteral(",\"\r\n");
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return special.contains(c); }))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray document(const QList<QStringList>& rows) {
    QString text;
    for (const QStringList& row : rows) {
        QStringList fields;
        for (const QString& value : row)
            fields << field(value);
        text += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return kByteOrderMark + text.toUtf8();
}

} // namespace csv

CsvExport PurchasesCsv(const TCostRefList& shown) {
    QList<QStringList> rows{{QStringLiteral("日付"), QStringLiteral("購入内容"), QStringLiteral("金額")}};
    for (int i = 0; i < shown.count(); ++i) {
        const TCost& cost = *shown.at(i);
        if (cost.sina.count() == 0)
            rows.append({cost.DateText(), QString(), QStringLiteral("0")});
        for (int j = 0; j < cost.sina.count(); ++j) {
            const TSina& line = *cost.sina.at(j);
            rows.append({cost.DateText(), line.name, QString::number(line.Amount())});
        }
    }
    return {csv::document(rows), shown.count(), int(rows.size()) - 1};
}

CsvExport CropsCsv(const TSakumotuList& crops) {
    QList<QStringList> rows{{QStringLiteral("作物名"), QStringLiteral("科"), QStringLiteral("お気に入り品種"),
                             QStringLiteral("栽培時期"), QStringLiteral("間隔"), QStringLiteral("メモ")}};
    for (int i = 0; i < crops.count(); ++i) {
        const TSakumotu& crop = *crops.at(i);
        if (crop.name == kDummyCropName)
            continue;
        rows.append({crop.name, crop.kamoku, crop.VarietiesText(), PeriodsText(crop.jiki), crop.SpacingText(),
                     cellLines(crop.memo)});
    }
    const int count = int(rows.size()) - 1;
    return {csv::document(rows), count, count};
}
