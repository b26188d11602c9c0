#pragma once

#include "crops/crop_records.h"
#include "favourites/favourite_records.h"
#include "harvest/harvest_records.h"
#include "plans/plan_records.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"
#include "seasons/season_records.h"
#include "store/message_sink.h"

#include <QStringList>
#include <functional>

namespace synctest {

// One record file of the notebook, driven through its own list class: a
// version written with one record named tag, the names a load gives, and a
// command that loads, adds a record and saves.
struct RecordKind {
    QString file;
    std::function<bool(const QString& folder, const QString& tag, store::MessageSink& sink)> write;
    std::function<QStringList(const QString& folder)> names;
};

inline QList<RecordKind> recordKinds() {
    const QString plan = PlanFiles()[0].fileName;
    return {
        {kCropFileName,
         [](const QString& folder, const QString& tag, store::MessageSink& sink) {
             TSakumotuList list;
             list.add()->name = tag;
             return list.SaveToFile(folder, sink);
         },
         [](const QString& folder) {
             TSakumotuList list;
             store::RecordingSink sink;
             list.LoadFromFile(folder, sink);
             QStringList names;
             for (int i = 0; i < list.count(); ++i)
                 names << list.at(i)->name;
             return names;
         }},
        {plan,
         [plan](const QString& folder, const QString& tag, store::MessageSink& sink) {
             TGroupList list;
             list.add()->name = tag;
             return list.SaveToFile(folder, QStringLiteral("畑"), plan, sink);
         },
         [plan](const QString& folder) {
             TGroupList list;
             store::RecordingSink sink;
             list.LoadFromFile(folder, plan, sink);
             QStringList names;
             for (int i = 0; i < list.count(); ++i)
                 names << list.at(i)->name;
             return names;
         }},
        {kYoteiFileName,
         [](const QString& folder, const QString& tag, store::MessageSink& sink) {
             TYoteiList list;
             TYotei* task = list.add();
             task->name = tag;
             task->tuki = QStringLiteral("4");
             task->shuu = QStringLiteral("1");
             return list.SaveToFile(folder, sink);
         },
         [](const QString& folder) {
             TYoteiList list;
             store::RecordingSink sink;
             list.LoadFromFile(folder, sink);
             QStringList names;
             for (int i = 0; i < list.count(); ++i)
                 names << list.at(i)->name;
             return names;
         }},
        {kCostFileName,
         [](const QString& folder, const QString& tag, store::MessageSink& sink) {
             TCostList list;
             TCost* cost = list.add();
             cost->nen = QStringLiteral("2026");
             cost->tuki = QStringLiteral("5");
             cost->hi = QStringLiteral("1");
             TSina* line = cost->sina.add();
             line->name = tag;
             line->kingaku = QStringLiteral("300");
             return list.SaveToFile(folder, sink);
         },
         [](const QString& folder) {
             TCostList list;
             store::RecordingSink sink;
             list.LoadFromFile(folder, sink);
             QStringList names;
             for (int i = 0; i < list.count(); ++i)
                 names << list.at(i)->sina.at(0)->name;
             return names;
         }},
        {kOkiniFileName,
         [](const QString& folder, const QString& tag, store::MessageSink& sink) {
             TOkiniList list;
             TOkini* link = list.add();
             link->name = tag;
             link->url = QStringLiteral("https://example.org/");
             return list.SaveToFile(folder, sink);
         },
         [](const QString& folder) {
             TOkiniList list;
             store::RecordingSink sink;
             list.LoadFromFile(folder, sink);
             QStringList names;
             for (int i = 0; i < list.count(); ++i)
                 names << list.at(i)->name;
             return names;
         }},
        {kShukakuFileName,
         [](const QString& folder, const QString& tag, store::MessageSink& sink) {
             TShukakuList list;
             TShukaku* harvest = list.add();
             harvest->date = QDate(2026, 7, 14);
             harvest->crop = tag;
             harvest->ryou = QStringLiteral("1.5");
             harvest->tani = QStringLiteral("kg");
             return list.SaveToFile(folder, sink);
         },
         [](const QString& folder) {
             TShukakuList list;
             store::RecordingSink sink;
             list.LoadFromFile(folder, sink);
             QStringList names;
             for (int i = 0; i < list.count(); ++i)
                 names << list.at(i)->crop;
             return names;
         }},
        {kNikkiFileName,
         [](const QString& folder, const QString& tag, store::MessageSink& sink) {
             TNikkiList list;
             TNikki* entry = list.add();
             entry->date = QDate(2026, 7, 14);
             entry->text = tag;
             return list.SaveToFile(folder, sink);
         },
         [](const QString& folder) {
             TNikkiList list;
             store::RecordingSink sink;
             list.LoadFromFile(folder, sink);
             QStringList names;
             for (int i = 0; i < list.count(); ++i)
                 names << list.at(i)->text;
             return names;
         }},
        {kKakoYoteiFileName,
         [](const QString& folder, const QString& tag, store::MessageSink& sink) {
             TYoteiList tasks;
             TYotei* task = tasks.add();
             task->name = tag;
             task->tuki = QStringLiteral("4");
             task->shuu = QStringLiteral("1");
             seasons::Seasons kept;
             kept.keepSchedule(2025, tasks, QDate(2026, 1, 10));
             return kept.SavePastSchedules(folder, sink);
         },
         [](const QString& folder) {
             seasons::Seasons kept;
             store::RecordingSink sink;
             kept.LoadFromFolder(folder, sink);
             QStringList names;
             for (const seasons::PastSchedule& schedule : kept.pastSchedules())
                 for (int i = 0; i < schedule.tasks->count(); ++i)
                     names << schedule.tasks->at(i)->name;
             return names;
         }},
    };
}

} // namespace synctest
