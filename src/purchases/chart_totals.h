#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

class TCostList;

// One bar of the spending chart: a year, or a month of the chosen year.
struct ChartBar {
    QString label;    // 2014年 or 5月
    QString key;      // the filter text the bar stands for: 2014 or 5
    qint64 total = 0; // in yen, in 64 bits so that large ledgers are right
    bool highlighted = false;
};

// With year "すべて", one bar per year of the year filter in its order; with a
// year, twelve bars 1月 to 12月 (0 where nothing was bought), the bar of the
// chosen month highlighted. Every bar's total is the total the purchase tab
// shows for that year, or that year and month.
QList<ChartBar> PurchaseChartBars(const TCostList& costs, const QString& year, const QString& month);

// The value axis's marks from 0 up to the largest total or just above it, in 5
// to 10 steps of 1, 2 or 5 times a power of ten yen.
QList<qint64> ChartTicks(qint64 largest);
