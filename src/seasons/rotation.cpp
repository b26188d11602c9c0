#include "seasons/rotation.h"

#include "crops/crop_records.h"
#include "plans/plan_records.h"
#include "seasons/season_records.h"

#include <QSet>
#include <algorithm>

namespace seasons {

namespace {

// Reads the other plans for the check alone: their messages were given when they were opened.
class QuietSink : public store::MessageSink {
public:
    void message(const QString&) override {}
    void loadFailed(const QString&, const QString&) override {}
};

QString yearsText(const std::vector<Planting>& conflicts) {
    QStringList lines;
    for (const Planting& p : conflicts)
        lines << QStringLiteral("　%1年度：%2（%3）").arg(p.year).arg(p.crop, p.family);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

CropFamilies::CropFamilies(const TSakumotuList& crops) {
    for (int i = 0; i < crops.count(); ++i) {
        const TSakumotu& crop = *crops.at(i);
        if (!m_byName.contains(crop.name))
            m_byName.insert(crop.name, Info{FamilyOf(crop.kamoku), GapOf(crop.kamoku, crop.memo)});
    }
}

CropFamilies::Info CropFamilies::of(const QString& cropName) const {
    return m_byName.value(cropName);
}

void RotationBook::addPlan(const TGroupList& plan, int year, const CropFamilies& families) {
    for (int g = 0; g < plan.count(); ++g) {
        const TGroup& group = *plan.at(g);
        const QString bed = BedKey(group.name);
        for (int e = 0; e < group.count(); ++e) {
            const TSakumotu2& entry = *group.at(e);
            if (entry.IsDummy())
                continue;
            const CropFamilies::Info info = families.of(entry.name);
            m_byBed[bed].push_back(m_plantings.size());
            m_plantings.push_back(Planting{bed, group.name, year, info.family, entry.name, info.gap});
        }
    }
}

std::vector<Planting> RotationBook::conflicts(const QString& bedKey, int year, const QString& family,
                                              const RotationGap& gap) const {
    std::vector<Planting> found;
    if (family.isEmpty() || !gap.warns())
        return found;
    QSet<QString> seen;
    for (size_t i : m_byBed.value(bedKey)) {
        const Planting& p = m_plantings[i];
        // Resting n years means n years between: grown in Y−n, it may come back in Y+1.
        if (p.family != family || p.year >= year || year - p.year > gap.lower)
            continue;
        const QString key = QString::number(p.year) + QLatin1Char('\n') + p.crop;
        if (seen.contains(key))
            continue;
        seen.insert(key);
        found.push_back(p);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Planting& a, const Planting& b) { return a.year > b.year; });
    return found;
}

RotationBook BookOfNotebook(const Seasons& seasons, const QString& folder, const TGroupList& current,
                            const QString& currentFile, const CropFamilies& families, const QDate& today) {
    RotationBook book;
    QuietSink quiet;
    for (const PlanFileInfo& file : PlanFiles()) {
        const int year = seasons.yearOrToday(file.fileName, today);
        if (file.fileName == currentFile) {
            book.addPlan(current, year, families);
            continue;
        }
        TGroupList plan;
        plan.LoadFromFile(folder, file.fileName, quiet);
        book.addPlan(plan, year, families);
    }
    for (const PastPlan& past : seasons.pastPlans())
        book.addPlan(*past.plan, past.year, families);
    return book;
}

QString ConflictQuestion(const QString& crop, const QString& bedName, const RotationGap& gap,
                         const std::vector<Planting>& conflicts) {
    return QStringLiteral("「%1」には、同じ科の作物が連作障害の目安の年数のうちに育っています。\n")
               .arg(bedName) +
           yearsText(conflicts) +
           QStringLiteral("\n%1は %2 あけるのが目安です。このまま追加しますか？").arg(crop, gap.text());
}

QString ConflictNote(const QString& family, const RotationGap& gap, const std::vector<Planting>& conflicts) {
    QStringList grown;
    for (const Planting& p : conflicts)
        grown << QStringLiteral("%1年度 %2").arg(p.year).arg(p.crop);
    return QStringLiteral("連作の注意：%1（%2は%3あける）")
        .arg(grown.join(QStringLiteral("、")), family, gap.text());
}

} // namespace seasons
