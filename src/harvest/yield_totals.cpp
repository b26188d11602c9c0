#include "harvest/yield_totals.h"

#include "harvest/harvest_records.h"
#include "purchases/purchase_records.h"

#include <QHash>
#include <limits>

namespace {

qint64 addClamped(qint64 a, qint64 b) {
    if (b > 0 && a > std::numeric_limits<qint64>::max() - b)
        return std::numeric_limits<qint64>::max();
    return a + b;
}

// Grams per unit in thousandths of a kilogram; 0 for a unit that is no weight.
qint64 thousandthsOfKgPerUnit(const QString& unit) {
    if (unit == QStringLiteral("kg"))
        return 1000;
    if (unit == QStringLiteral("g"))
        return 1;
    return 0;
}

} // namespace

QList<YieldTotal> YieldTotals(const std::vector<TShukaku*>& harvests) {
    QList<YieldTotal> totals;
    QHash<QString, int> lineOf;
    QStringList crops; // in the order first harvested
    for (const TShukaku* h : harvests) {
        const QString key = h->crop + QChar(0) + QString::number(h->date.year()) + QChar(0) + h->tani;
        auto it = lineOf.find(key);
        if (it == lineOf.end()) {
            it = lineOf.insert(key, int(totals.size()));
            totals.append({h->crop, h->date.year(), h->tani, 0, 0, std::nullopt});
            if (!crops.contains(h->crop))
                crops << h->crop;
        }
        YieldTotal& line = totals[*it];
        line.amount = addClamped(line.amount, h->Amount());
        ++line.harvests;
    }
    std::stable_sort(totals.begin(), totals.end(), [&crops](const YieldTotal& a, const YieldTotal& b) {
        const qsizetype ca = crops.indexOf(a.crop), cb = crops.indexOf(b.crop);
        if (ca != cb)
            return ca < cb;
        if (a.year != b.year)
            return a.year < b.year;
        return a.unit < b.unit;
    });
    return totals;
}

QList<YieldTotal> YieldTotals(const TShukakuList& harvests) {
    return YieldTotals(harvests.Filter(kHarvestAllEntries, kHarvestAllEntries));
}

qint64 LedgerYenFor(const TCostList& costs, const QString& crop, int year) {
    if (crop.trimmed().isEmpty())
        return 0;
    qint64 yen = 0;
    const QString y = QString::number(year);
    for (int i = 0; i < costs.count(); ++i) {
        const TCost* cost = costs.at(i);
        if (cost->nen.trimmed().toInt() != year && cost->nen != y)
            continue;
        for (int j = 0; j < cost->sina.count(); ++j)
            if (cost->sina.at(j)->name.contains(crop))
                yen = addClamped(yen, cost->sina.at(j)->Amount());
    }
    return yen;
}

void AddYenPerKg(QList<YieldTotal>& totals, const TCostList& costs) {
    // Yen of one crop and year, spread over its weighed harvest in g and kg together.
    QHash<QString, qint64> kg; // thousandths of a kilogram
    for (const YieldTotal& t : totals)
        if (const qint64 factor = thousandthsOfKgPerUnit(t.unit))
            kg[t.crop + QChar(0) + QString::number(t.year)] += t.amount * factor / 1000;
    for (YieldTotal& t : totals) {
        const qint64 weighed = kg.value(t.crop + QChar(0) + QString::number(t.year));
        if (!thousandthsOfKgPerUnit(t.unit) || weighed <= 0)
            continue;
        const qint64 yen = LedgerYenFor(costs, t.crop, t.year);
        if (yen > 0)
            t.yenPerKg = (yen * 1000 + weighed / 2) / weighed;
    }
}

YieldChart YieldByYear(const QList<YieldTotal>& totals) {
    YieldChart chart;
    if (totals.isEmpty())
        return chart;
    chart.firstYear = totals.first().year;
    chart.lastYear = totals.first().year;
    for (const YieldTotal& t : totals) {
        chart.firstYear = std::min(chart.firstYear, t.year);
        chart.lastYear = std::max(chart.lastYear, t.year);
    }
    // A date typed wrong (the year 205) must not stretch the chart over eighteen centuries.
    chart.firstYear = std::max(chart.firstYear, chart.lastYear - kChartYears + 1);
    const int years = chart.lastYear - chart.firstYear + 1;
    QHash<QString, int> seriesOf;
    for (const YieldTotal& t : totals) {
        const QString key = t.crop + QChar(0) + t.unit;
        auto it = seriesOf.find(key);
        if (it == seriesOf.end()) {
            it = seriesOf.insert(key, int(chart.series.size()));
            chart.series.append({t.crop, t.unit, QList<qint64>(years, 0)});
        }
        if (t.year >= chart.firstYear)
            chart.series[*it].amounts[t.year - chart.firstYear] = t.amount;
    }
    return chart;
}

QString UnitTotalsText(const std::vector<TShukaku*>& harvests) {
    QStringList units;
    QHash<QString, qint64> sums;
    for (const TShukaku* h : harvests) {
        if (!sums.contains(h->tani))
            units << h->tani;
        sums[h->tani] = addClamped(sums.value(h->tani), h->Amount());
    }
    QStringList parts;
    for (const QString& unit : units)
        parts << AmountText(sums.value(unit)) + QLatin1Char(' ') + unit;
    return parts.join(QStringLiteral("・"));
}
