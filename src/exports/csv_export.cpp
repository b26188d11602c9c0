#include "exports/csv_export.h"

#include "crops/crop_records.h"
#include "purchases/purchase_records.h"

#include <QRegularExpression>
#include <algorithm>

namespace {

const QByteArray kByteOrderMark("\xEF\xBB\xBF");
// The periods a crop dialog offers; a file may hold more, and then every row has as many.
constexpr int kDialogPeriods = 5;

// Inside a field a line break is LF alone, as spreadsheets write a break within
// a cell; CR LF ends a record.
QString cellLines(const QStringList& lines) {
    return lines.join(QLatin1Char('\n'));
}

bool isPlainNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("\\A[+-]?[0-9]+(\\.[0-9]+)?\\z"));
    return number.match(text).hasMatch();
}

} // namespace

namespace csv {

// A spreadsheet takes a cell that starts with =, +, - or @ for a formula, and
// one that starts with a tab or CR may lose them and become one. A text that
// starts with ' gets one more, so that every mark can be taken off again.
QString guarded(const QString& text) {
    static const QString starts = QStringLiteral("=+-@\t\r'");
    if (text.isEmpty() || !starts.contains(text.front()) || isPlainNumber(text))
        return text;
    return QLatin1Char('\'') + text;
}

QString quoted(const QString& text) {
    QString inner = text;
    inner.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

QString field(const QString& text) {
    static const QString special = QStringLiteral(",\"\r\n");
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return special.contains(c); }))
        return text;
    return quoted(text);
}

// A marked cell is always quoted: Gnumeric guesses the separator from what
// follows a quoted field, and after "…",'=1 it would take ,' for one.
QString cell(const QString& text) {
    const QString safe = guarded(text);
    return safe.size() == text.size() ? field(text) : quoted(safe);
}

QByteArray document(const QList<QStringList>& rows) {
    QString text;
    for (const QStringList& row : rows) {
        QStringList fields;
        for (const QString& value : row)
            fields << cell(value);
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

namespace {

int periodColumns(const TSakumotuList& crops) {
    int most = kDialogPeriods;
    for (int i = 0; i < crops.count(); ++i)
        most = std::max(most, crops.at(i)->jiki.count());
    return most;
}

QStringList cropHeader(int periods) {
    QStringList header{QStringLiteral("作物名"),          QStringLiteral("科目"),
                       QStringLiteral("お気に入り品種1"), QStringLiteral("お気に入り品種2"),
                       QStringLiteral("条間(cm)"),        QStringLiteral("株間1(cm)"),
                       QStringLiteral("株間2(cm)")};
    for (int n = 1; n <= periods; ++n)
        header << QStringLiteral("時期%1開始").arg(n) << QStringLiteral("時期%1終了").arg(n);
    return header << QStringLiteral("栽培メモ");
}

QStringList cropRow(const TSakumotu& crop, int periods) {
    QStringList row{crop.name,   crop.kamoku,   crop.okiniiri1, crop.okiniiri2,
                    crop.joukan, crop.kabukan1, crop.kabukan2};
    for (int n = 0; n < periods; ++n) {
        const TJiki* period = n < crop.jiki.count() ? crop.jiki.at(n) : nullptr;
        row << (period ? period->st : QString()) << (period ? period->ed : QString());
    }
    return row << cellLines(crop.memo);
}

} // namespace

CsvExport CropsCsv(const TSakumotuList& crops) {
    const int periods = periodColumns(crops);
    QList<QStringList> rows{cropHeader(periods)};
    for (int i = 0; i < crops.count(); ++i) {
        const TSakumotu& crop = *crops.at(i);
        if (crop.name != kDummyCropName)
            rows.append(cropRow(crop, periods));
    }
    const int count = int(rows.size()) - 1;
    return {csv::document(rows), count, count};
}
