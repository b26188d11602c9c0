#pragma once

#include <QList>
#include <QString>
#include <optional>
#include <vector>

class TShukaku;
class TShukakuList;
class TCostList;

// One line of the totals table: what one crop gave in one year in one unit.
// Amounts in different units are never added: 3 個 and 2 kg of the same crop
// are two lines. g and kg are different units too, since 500 g typed by hand
// is a weighing and the gardener may want it apart.
struct YieldTotal {
    QString crop;
    int year = 0;
    QString unit;
    qint64 amount = 0; // thousandths of the unit
    int harvests = 0;
    // Yen spent that year on ledger lines naming the crop, per kilogram
    // harvested; only for lines in g or kg, and only where the ledger names it.
    std::optional<qint64> yenPerKg;
};

// Ordered by crop (as first harvested), then year, then unit.
QList<YieldTotal> YieldTotals(const std::vector<TShukaku*>& harvests);
QList<YieldTotal> YieldTotals(const TShukakuList& harvests);

// What the ledger says the crop cost in that year: every purchase line of
// that year whose name contains the crop's name (キュウリ matches
// キュウリの苗). 0 when none does.
qint64 LedgerYenFor(const TCostList& costs, const QString& crop, int year);
// Adds yenPerKg to the totals in g or kg whose crop the ledger names.
void AddYenPerKg(QList<YieldTotal>& totals, const TCostList& costs);

// The chart: for one crop and unit, the amount of each year from the first to
// the last year of any harvest, 0 for a year without; at most the last
// kChartYears years.
inline constexpr int kChartYears = 50;
struct YieldSeries {
    QString crop;
    QString unit;
    QList<qint64> amounts; // thousandths, one per year
};
struct YieldChart {
    int firstYear = 0;
    int lastYear = -1;
    QList<YieldSeries> series;
};
YieldChart YieldByYear(const QList<YieldTotal>& totals);

// The amounts shown, each unit summed on its own, in the order the units first
// appear: "1.5 kg・30 個". Empty for no harvest.
QString UnitTotalsText(const std::vector<TShukaku*>& harvests);
