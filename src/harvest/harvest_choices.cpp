#include "harvest/harvest_choices.h"

#include "crops/crop_records.h"
#include "harvest/harvest_book.h"
#include "plans/plan_records.h"

namespace {

void addOnce(QStringList& list, const QString& text) {
    if (!text.trimmed().isEmpty() && !list.contains(text))
        list << text;
}

} // namespace

HarvestChoices ChoicesFor(const TSakumotuList& crops, const TGroupList& plan, const THarvestBook& book) {
    HarvestChoices choices;
    choices.units = DefaultUnits();
    for (int i = 0; i < crops.count(); ++i)
        if (crops.at(i)->name != kDummyCropName)
            addOnce(choices.crops, crops.at(i)->name);
    for (int i = 0; i < plan.count(); ++i)
        addOnce(choices.beds, plan.at(i)->name);
    for (int i = 0; i < book.shukaku.count(); ++i) {
        const TShukaku* h = book.shukaku.at(i);
        addOnce(choices.crops, h->crop);
        addOnce(choices.beds, h->hatake);
        addOnce(choices.units, h->tani);
    }
    for (int i = 0; i < book.nikki.count(); ++i) {
        addOnce(choices.crops, book.nikki.at(i)->crop);
        addOnce(choices.beds, book.nikki.at(i)->hatake);
    }
    return choices;
}
