#include "search/record_search.h"

#include "crops/crop_records.h"
#include "favourites/favourite_records.h"
#include "plans/plan_records.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"

#include <QVarLengthArray>

namespace search {

namespace {

const QString kGap = QStringLiteral("　");

// The texts of a record with a list of lines, as one match.
template <class Lines>
bool matchesWith(const Query& query, std::initializer_list<QStringView> texts, const Lines& lines) {
    QVarLengthArray<QStringView, 16> all(texts.begin(), texts.end());
    for (const QString& line : lines)
        all.append(line);
    return query.matches(std::span<const QStringView>(all.data(), size_t(all.size())));
}

Hit hitOf(const QString& title, const QString& detail, const void* record = nullptr) {
    Hit hit;
    hit.title = title;
    hit.detail = detail;
    hit.record = record;
    return hit;
}

QString cropDetail(const TSakumotu& crop) {
    const QString varieties = crop.VarietiesText();
    if (crop.kamoku.isEmpty() || varieties.isEmpty())
        return crop.kamoku + varieties;
    return crop.kamoku + kGap + varieties;
}

} // namespace

Found findCrops(const TSakumotuList& crops, const Query& query) {
    Found found;
    for (int i = 0; i < crops.count(); ++i) {
        const TSakumotu& crop = *crops.at(i);
        if (crop.name == kDummyCropName ||
            !matchesWith(query, {crop.name, crop.kamoku, crop.okiniiri1, crop.okiniiri2}, crop.memo))
            continue;
        found.add([&] { return hitOf(crop.name, cropDetail(crop), &crop); });
    }
    return found;
}

Found findTasks(const TYoteiList& tasks, const Query& query) {
    Found found;
    for (int i = 0; i < tasks.count(); ++i) {
        const TYotei& task = *tasks.at(i);
        if (!matchesWith(query, {task.name}, task.note))
            continue;
        found.add([&] {
            return hitOf(task.name, task.isDone() ? task.WeekText() + kGap + kYoteiDone : task.WeekText(),
                         &task);
        });
    }
    return found;
}

Found findPurchaseLines(const TCostList& costs, const Query& query) {
    Found found;
    for (int i = costs.count() - 1; i >= 0; --i) {
        const TCost& cost = *costs.at(i);
        for (int n = 0; n < cost.sina.count(); ++n) {
            const TSina& line = *cost.sina.at(n);
            if (!query.matches(line.name))
                continue;
            found.add([&] {
                return hitOf(line.name, cost.DateText() + kGap + MoneyText(line.Amount()) + kCostYenSuffix,
                             &cost);
            });
        }
    }
    return found;
}

Found findFavourites(const TOkiniList& okini, const Query& query) {
    Found found;
    for (int i = 0; i < okini.count(); ++i) {
        const TOkini& o = *okini.at(i);
        if (query.matches(std::initializer_list<QStringView>{o.name, o.url, o.memo}))
            found.add([&] { return hitOf(o.name, o.url, &o); });
    }
    return found;
}

void PlanShelf::load(const QString& folder, const TGroupList& current, const QString& currentFile,
                     const QString& currentName, store::MessageSink& sink) {
    m_plans.clear();
    m_read.clear();
    std::array<const PlanFileInfo*, 8> byButton{};
    for (const PlanFileInfo& file : PlanFiles())
        byButton[size_t(file.buttonPosition)] = &file;
    for (const PlanFileInfo* file : byButton) {
        if (file->fileName == currentFile) {
            m_plans.push_back({&current, currentFile, currentName});
            continue;
        }
        auto plan = std::make_unique<TGroupList>();
        plan->LoadFromFile(folder, file->fileName, sink);
        // In the order the chart shows, which is the order the plan tab finds them in.
        plan->Layout();
        const QString caption = plan->name.isEmpty() ? file->defaultCaption : plan->name;
        m_plans.push_back({plan.get(), file->fileName, caption});
        m_read.push_back(std::move(plan));
    }
}

Found PlanShelf::find(const Query& query) const {
    Found found;
    for (const Plan& p : m_plans) {
        for (int g = 0; g < p.plan->count(); ++g) {
            const TGroup& group = *p.plan->at(g);
            for (int e = 0; e < group.count(); ++e) {
                const TSakumotu2& entry = *group.at(e);
                if (entry.IsDummy() || !query.matches(entry.name))
                    continue;
                found.add([&] {
                    Hit hit = hitOf(entry.name, p.caption + QStringLiteral("・") + group.name + kGap +
                                                    EntryPeriodText(entry));
                    hit.planFile = p.file;
                    hit.group = g;
                    hit.entry = e;
                    return hit;
                });
            }
        }
    }
    return found;
}

} // namespace search
