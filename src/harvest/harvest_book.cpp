#include "harvest/harvest_book.h"

void THarvestBook::LoadShukaku(const QString& folder, store::MessageSink& sink) {
    shukaku.LoadFromFile(folder, sink);
    shukaku.SortByDate();
}

void THarvestBook::LoadNikki(const QString& folder, store::MessageSink& sink) {
    nikki.LoadFromFile(folder, sink);
    nikki.SortByDate();
}

TNikki* THarvestBook::AddTaskLine(const QString& taskName, const QDate& date, const QString& folder,
                                  store::MessageSink& sink) {
    TNikki* entry = nikki.add();
    entry->date = date;
    entry->kind = kNikkiTaskKind;
    entry->text = taskName + QStringLiteral(" を完了");
    nikki.SortByDate();
    if (nikki.SaveToFile(folder, sink))
        return entry;
    nikki.remove(nikki.indexOf(entry));
    return nullptr;
}
