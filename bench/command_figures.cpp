#include "data_sets.h"
#include "figures.h"
#include "timing.h"

#include "purchases/purchase_records.h"
#include "schedule/task_merge.h"
#include "schedule/task_records.h"

#include <QDate>
#include <memory>

namespace bench {

namespace {

// A command the user gives must answer within this, on 10,000 tasks or purchases.
constexpr double kCommandTargetMs = 100;
const QDate kToday(2026, 6, 10);

std::unique_ptr<TYoteiList> loadTasks(const QString& folder) {
    auto tasks = std::make_unique<TYoteiList>();
    store::RecordingSink sink;
    const bool loaded = tasks->LoadFromFile(folder, sink);
    expectLoaded(loaded, sink, tasks->count(), kCommandTasks, folder + kYoteiFileName);
    return tasks;
}

std::unique_ptr<TCostList> loadPurchases(const QString& folder) {
    auto purchases = std::make_unique<TCostList>();
    store::RecordingSink sink;
    const bool loaded = purchases->LoadFromFile(folder, sink);
    expectLoaded(loaded, sink, purchases->count(), kPurchaseCount, folder + kCostFileName);
    return purchases;
}

Figure command(const QString& name, int runs, const Measure& measure) {
    return {name, medianMs(runs, {measure})[0], QString(), 0, 0, kCommandTargetMs, runs};
}

void filterAllKeys(const TYoteiList& tasks) {
    TYoteiRefList out;
    for (const QString& key : {kFilterThisWeek, kFilterThisMonth, kFilterPast, kFilterAll, kFilterDone})
        tasks.Filter(key, kToday, out);
}

// What the merge window works out before it changes anything.
void mergeReport(const TYoteiList& tasks) {
    TYoteiRefList duplicates;
    tasks.FindDuplicates(duplicates);
    TYoteiRefList copy(tasks.items());
    copy.RemoveDuplicates();
    TYoteiRefList mergeable;
    copy.FindMergeable(mergeable);
}

QList<Figure> taskCommands(const QString& folder, int runs) {
    std::unique_ptr<TYoteiList> tasks = loadTasks(folder);
    const auto reload = [&] { tasks = loadTasks(folder); };
    const QString n = QStringLiteral(" (%L1 tasks)").arg(kCommandTasks);
    return {command(QStringLiteral("Filter, all five keys") + n, runs, {[&] { filterAllKeys(*tasks); }}),
            command(QStringLiteral("SortByWeek") + n, runs, {[&] { tasks->SortByWeek(); }, reload}),
            command(QStringLiteral("FindDuplicates + RemoveDuplicates on a copy + FindMergeable") + n, runs,
                    {[&] { mergeReport(*tasks); }}),
            command(QStringLiteral("MergeReport lines") + n, runs, {[&] { MergeReport(*tasks); }}),
            command(QStringLiteral("RemoveDuplicates + MergeSameWeek") + n, runs,
                    {[&] {
                         tasks->RemoveDuplicates();
                         tasks->MergeSameWeek();
                     },
                     reload})};
}

QList<Figure> purchaseCommands(const QString& folder, int runs) {
    std::unique_ptr<TCostList> purchases = loadPurchases(folder);
    const TCostRefList year = purchases->Filter(QStringLiteral("2020"), kCostAllEntries);
    const auto reload = [&] { purchases = loadPurchases(folder); };
    const QString n = QStringLiteral(" (%L1 purchases)").arg(kPurchaseCount);
    return {command(QStringLiteral("YearList") + n, runs, {[&] { purchases->YearList(); }}),
            command(QStringLiteral("Filter one year, all months") + n, runs,
                    {[&] { purchases->Filter(QStringLiteral("2020"), kCostAllEntries); }}),
            command(QStringLiteral("ListTotal, whole list and one year") + n, runs, {[&] {
                        purchases->ListTotal();
                        year.ListTotal();
                    }}),
            command(QStringLiteral("SortByDate") + n, runs, {[&] { purchases->SortByDate(); }, reload})};
}

} // namespace

QList<Figure> commandFigures(const QString& root, int runs) {
    qInfo("measuring the commands");
    return taskCommands(fullFolder(root), runs) + purchaseCommands(fullFolder(root), runs);
}

} // namespace bench
