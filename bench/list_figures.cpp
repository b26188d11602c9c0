#include "bench_platform.h"
#include "data_sets.h"
#include "figures.h"
#include "timing.h"

#include "app/main_window.h"
#include "crops/crop_records.h"
#include "crops/crop_tab.h"
#include "purchases/purchase_records.h"
#include "purchases/purchase_tab.h"
#include "schedule/schedule_tab.h"
#include "widgets/app_context.h"
#include "widgets/dialog_support.h"
#include "widgets/list_view3.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QTabWidget>
#include <stdexcept>

namespace bench {

namespace {

// A click on a list must answer within this, however long the list.
constexpr double kListTargetMs = 100;
constexpr int kChangedPurchase = kLargePurchases / 2;

Figure listFigure(const QString& name, int runs, const Measure& measure) {
    return {name, medianMs(runs, {measure})[0], QString(), 0, 0, kListTargetMs, runs};
}

// What the tab does after the purchase dialog changed a purchase's date: the
// list sorted again, the filters and rows following the purchase, its row checked.
void followChange(TPurchaseTab& tab, TCostList& costs, TCost& cost) {
    costs.SortByDate();
    tab.RebuildYears();
    tab.RebuildMonths();
    choices::selectByTextQuietly(tab.years(), cost.nen);
    tab.YearChanged();
    choices::selectByTextQuietly(tab.months(), cost.tuki);
    tab.MonthChanged();
    CheckByData(&cost, tab.list());
}

QList<Figure> purchaseFigures(const QString& root, int runs) {
    BenchPlatform platform(largeFolder(root));
    TForm5 window(platform);
    window.show();
    TCostList& costs = *window.context().costs;
    if (costs.count() != kLargePurchases || !platform.shown.isEmpty())
        throw std::runtime_error("the large notebook did not load in full");
    TPurchaseTab& tab = *window.purchaseTab();
    window.tabWidget()->setCurrentWidget(&tab);
    painted(&window);

    const auto chooseYear = [&](const QString& year) {
        choices::selectByTextQuietly(tab.years(), year);
        tab.YearChanged();
        painted(&window);
    };
    const QString year = costs.at(0)->nen;
    const QList<double> switches =
        medianMs(runs, {{[&] { chooseYear(year); }, [&] { chooseYear(kCostAllEntries); }},
                        {[&] { chooseYear(kCostAllEntries); }, [&] { chooseYear(year); }}});

    // A long list shows at once and widens its columns to its longest texts a
    // part at a time afterwards; this is the time until the last part is in.
    const double fittedMs = medianMs(runs, {{[&] {
                                                 chooseYear(kCostAllEntries);
                                                 while (tab.list()->isFitting())
                                                     QCoreApplication::processEvents();
                                                 painted(&window);
                                             },
                                             [&] { chooseYear(year); }}})[0];

    TCost& changed = *costs.at(kChangedPurchase);
    const Measure resort{[&] {
                             followChange(tab, costs, changed);
                             painted(&window);
                         },
                         [&] { changed.nen = changed.nen == costs.at(0)->nen ? "2026" : costs.at(0)->nen; }};
    const double resortMs = medianMs(runs, {resort})[0];
    if (tab.list()->checkedRecord<TCost>() != &changed)
        throw std::runtime_error("the changed purchase's row is not checked");

    const QString on = QStringLiteral(" (%L1 purchases, painted)").arg(kLargePurchases);
    return {{QStringLiteral("purchase tab: year filter すべて to one year") + on, switches[0], QString(), 0,
             0, kListTargetMs, runs},
            {QStringLiteral("purchase tab: year filter back to すべて") + on, switches[1], QString(), 0, 0,
             kListTargetMs, runs},
            {QStringLiteral("purchase tab: a date changed, sorted again and followed") + on, resortMs,
             QString(), 0, 0, kListTargetMs, runs},
            {QStringLiteral("purchase tab: back to すべて until every column fits") + on, fittedMs, QString(),
             0, 0, 0, runs}};
}

// A tab behind the one in view measures its rows only once it shows: the
// first turn to it after the start, in a new window each round.
QList<Figure> firstShowFigures(const QString& root, int runs) {
    QList<double> purchaseMs, scheduleMs;
    for (int round = 0; round < runs; ++round) {
        BenchPlatform platform(largeFolder(root));
        TForm5 window(platform);
        window.show();
        painted(&window);
        const auto turnTo = [&window](QWidget* tab) {
            return elapsedMs([&] {
                window.tabWidget()->setCurrentWidget(tab);
                painted(&window);
            });
        };
        purchaseMs << turnTo(window.purchaseTab());
        scheduleMs << turnTo(window.scheduleTab());
    }
    return {
        {QStringLiteral("purchase tab: first shown after the start (%L1 purchases, painted)")
             .arg(kLargePurchases),
         median(purchaseMs), QString(), 0, 0, kListTargetMs, runs},
        {QStringLiteral("schedule tab: first shown after the start (%L1 tasks, painted)").arg(kLargeTasks),
         median(scheduleMs), QString(), 0, 0, kListTargetMs, runs}};
}

QList<Figure> cropFigures(int runs) {
    BenchPlatform platform(QString{});
    TSakumotuList crops;
    fillCrops(crops, kLargeCrops);
    AppContext context;
    context.platform = &platform;
    context.crops = &crops;
    TCropTab tab(context);
    tab.resize(776, 600);
    tab.show();
    const auto refill = [&tab] {
        tab.RefreshCropList();
        painted(&tab);
    };
    refill();
    QList<Figure> figures;
    for (const auto& [column, caption] : {std::pair(1, "作物名"), std::pair(3, "栽培時期")})
        figures << listFigure(QStringLiteral("crop list: sorted by %1 (%L2 crops, painted)")
                                  .arg(QString::fromUtf8(caption))
                                  .arg(kLargeCrops),
                              runs,
                              {[&tab, column] {
                                   tab.HeaderClick(column);
                                   painted(&tab);
                               },
                               refill});
    return figures;
}

} // namespace

QList<Figure> listFigures(const QString& root, int runs) {
    qInfo("measuring the lists");
    return purchaseFigures(root, runs) + firstShowFigures(root, runs) + cropFigures(runs);
}

} // namespace bench
