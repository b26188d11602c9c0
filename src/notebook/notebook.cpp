#include "notebook/notebook.h"

#include <algorithm>

void Notebook::loadCrops(const QString& folder, store::MessageSink& sink) {
    crops.LoadFromFile(folder, sink);
    crops.insert(0)->name = kDummyCropName;
}

void Notebook::loadTasks(const QString& folder, store::MessageSink& sink) {
    tasks.LoadFromFile(folder, sink);
    tasks.SortByWeek();
}

void Notebook::loadPurchases(const QString& folder, store::MessageSink& sink) {
    costs.LoadFromFile(folder, sink);
    costs.SortByDate();
}

void Notebook::loadFavourites(const QString& folder, store::MessageSink& sink) {
    okini.clear();
    okini.LoadFromFile(folder, sink);
}

QList<Notebook::List> Notebook::listsFedBy(const QStringList& files, const QString& currentPlanFile) {
    QList<List> lists;
    if (files.contains(kCropFileName))
        lists << List::Crops;
    if (std::any_of(files.begin(), files.end(), IsPlanFile))
        lists << List::PlanCaptions;
    if (files.contains(currentPlanFile))
        lists << List::CurrentPlan;
    if (files.contains(kYoteiFileName))
        lists << List::Tasks;
    if (files.contains(kCostFileName))
        lists << List::Purchases;
    if (files.contains(kOkiniFileName))
        lists << List::Favourites;
    return lists;
}

bool Notebook::renameCropInPlans(const QString& folder, const QString& oldName, const QString& newName,
                                 store::MessageSink& sink) {
    return RenameCropInAllPlans(folder, oldName, newName, sink);
}
