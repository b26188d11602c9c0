#include "purchases/chart_totals.h"

#include "purchases/purchase_records.h"

#include <limits>

QList<ChartBar> PurchaseChartBars(const TCostList& costs, const QString& year, const QString& month) {
    QList<ChartBar> bars;
    if (year == kCostAllEntries) {
        for (const QString& each : costs.YearList())
            bars.append(
                {each + QStringLiteral("年"), each, costs.Filter(each, kCostAllEntries).ListTotal(), false});
        return bars;
    }
    for (int m = 1; m <= 12; ++m) {
        const QString key = QString::number(m);
        bars.append({key + QStringLiteral("月"), key, costs.Filter(year, key).ListTotal(), key == month});
    }
    return bars;
}

QList<qint64> ChartTicks(qint64 largest) {
    // An empty chart still gets a scale of a few thousand yen.
    const qint64 top = std::max<qint64>(largest, 1000);
    qint64 magnitude = 1;
    while (magnitude <= std::numeric_limits<qint64>::max() / 10 && magnitude * 10 <= top / 5)
        magnitude *= 10;
    qint64 step = magnitude;
    for (const qint64 factor : {1, 2, 5, 10}) {
        if (magnitude > std::numeric_limits<qint64>::max() / factor)
            break;
        step = magnitude * factor;
        if (top / step < 10 || (top / step == 10 && top % step == 0))
            break;
    }
    QList<qint64> ticks{0};
    while (ticks.last() < top && ticks.last() <= std::numeric_limits<qint64>::max() - step)
        ticks.append(ticks.last() + step);
    return ticks;
}
