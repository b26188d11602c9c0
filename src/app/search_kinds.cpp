#include "app/search_kinds.h"

#include "app/main_window.h"
#include "crops/crop_tab.h"
#include "favourites/favourites_tab.h"
#include "plans/plan_tab.h"
#include "purchases/purchase_tab.h"
#include "schedule/schedule_tab.h"
#include "widgets/platform.h"

#include <QTabWidget>
#include <memory>

using search::Found;
using search::Hit;
using search::Query;

namespace {

template <class T> const T* recordOf(const Hit& hit) {
    return static_cast<const T*>(hit.record);
}

// The results are grouped under the captions of the tabs that hold the records.
QString captionOf(const QTabWidget* tabs, QWidget* tab) {
    return tabs->tabText(tabs->indexOf(tab));
}

} // namespace

search::SearchKinds notebookSearchKinds(TForm5& window) {
    AppContext& context = window.context();
    QTabWidget* tabs = window.tabWidget();
    // The plans not on show are read once, when the window opens. One that
    // cannot be read was told of when it was shown; here it is only looked past.
    auto plans = std::make_shared<search::PlanShelf>();
    store::RecordingSink quiet;
    plans->load(context.platform->dataFolder(), *context.plan, context.planFile, context.planName, quiet);

    return {
        {captionOf(tabs, window.cropTab()),
         [&context](const Query& q) { return search::findCrops(*context.crops, q); },
         [&window, tabs](const Hit& hit) {
             tabs->setCurrentWidget(window.cropTab());
             window.cropTab()->ShowCrop(recordOf<TSakumotu>(hit));
         }},
        {captionOf(tabs, window.planTab()), [plans](const Query& q) { return plans->find(q); },
         [&window, tabs](const Hit& hit) {
             tabs->setCurrentWidget(window.planTab());
             window.planTab()->ShowEntry(hit.planFile, hit.group, hit.entry);
         }},
        {captionOf(tabs, window.scheduleTab()),
         [&context](const Query& q) { return search::findTasks(*context.tasks, q); },
         [&window, tabs](const Hit& hit) {
             tabs->setCurrentWidget(window.scheduleTab());
             window.scheduleTab()->ShowTask(recordOf<TYotei>(hit));
         }},
        {captionOf(tabs, window.purchaseTab()),
         [&context](const Query& q) { return search::findPurchaseLines(*context.costs, q); },
         [&window, tabs](const Hit& hit) {
             tabs->setCurrentWidget(window.purchaseTab());
             window.purchaseTab()->ShowCost(recordOf<TCost>(hit));
         }},
        {captionOf(tabs, window.favouritesTab()),
         [&context](const Query& q) { return search::findFavourites(*context.okini, q); },
         [&window, tabs](const Hit& hit) {
             tabs->setCurrentWidget(window.favouritesTab());
             window.favouritesTab()->ShowOkini(recordOf<TOkini>(hit));
         }},
    };
}
