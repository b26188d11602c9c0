#pragma once

#include "crops/crop_records.h"
#include "favourites/favourite_records.h"
#include "plans/plan_records.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"

#include <QList>
#include <QString>
#include <QStringList>

// The gardener's notebook as the program holds it for a run: every record
// list, which file feeds which list, and the order they are read in.
class Notebook {
public:
    // The lists, in the order the program reads them when it starts.
    enum class List { Crops, PlanCaptions, CurrentPlan, Tasks, Purchases, Favourites };

    // Declared in this order, and destroyed in the reverse.
    TGroupList plan; // the current plan, read by the plan tab from currentPlanFile
    TSakumotuList crops;
    TYoteiList tasks;
    TCostList costs;
    TOkiniList okini;

    // Each reads its list anew from the folder; what cannot be read goes to sink.
    // The crop list keeps the dummy crop first, the schedule and the ledger their order.
    void loadCrops(const QString& folder, store::MessageSink& sink);
    void loadTasks(const QString& folder, store::MessageSink& sink);
    void loadPurchases(const QString& folder, store::MessageSink& sink);
    void loadFavourites(const QString& folder, store::MessageSink& sink);

    // The lists that must be read again after these files were written behind
    // the program's back (an undo, a redo, a restore, a failed save), in
    // start-up order. currentPlanFile: the plan the plan tab shows.
    static QList<List> listsFedBy(const QStringList& files, const QString& currentPlanFile);

    // Carries a crop's new name into all eight plan files of the folder.
    static bool renameCropInPlans(const QString& folder, const QString& oldName, const QString& newName,
                                  store::MessageSink& sink);
};
