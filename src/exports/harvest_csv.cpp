#include "exports/harvest_csv.h"

#include "harvest/harvest_records.h"

namespace {

QString isoDay(const QDate& date) {
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}

} // namespace

CsvExport HarvestsCsv(const std::vector<TShukaku*>& shown) {
    QList<QStringList> rows{{QStringLiteral("日付"), QStringLiteral("作物"), QStringLiteral("場所"),
                             QStringLiteral("収穫量"), QStringLiteral("単位"), QStringLiteral("メモ")}};
    for (const TShukaku* h : shown)
        rows.append({isoDay(h->date), h->crop, h->hatake, AmountText(h->Amount()), h->tani, h->note});
    return {csv::document(rows), int(shown.size()), int(shown.size())};
}

CsvExport DiaryCsv(const std::vector<TNikki*>& shown) {
    QList<QStringList> rows{{QStringLiteral("日付"), QStringLiteral("種類"), QStringLiteral("内容"),
                             QStringLiteral("作物"), QStringLiteral("場所"), QStringLiteral("写真")}};
    for (const TNikki* e : shown)
        rows.append(
            {isoDay(e->date), e->kind, e->text, e->crop, e->hatake, e->photos.join(QLatin1Char('\n'))});
    return {csv::document(rows), int(shown.size()), int(shown.size())};
}
