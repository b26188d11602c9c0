#include "figures.h"
#include "timing.h"

#include "crops/crop_records.h"
#include "plans/plan_records.h"
#include "seasons/rotation.h"
#include "seasons/rotation_picture.h"
#include "seasons/rotation_table.h"
#include "seasons/season_records.h"

#include <QDir>
#include <stdexcept>

namespace bench {

namespace {

constexpr int kYears = 10;
constexpr int kBeds = 12;
constexpr int kCropsPerBed = 4;
constexpr double kCheckTargetMs = 10;
constexpr double kTableTargetMs = 100;
constexpr int kToday = 2026;

// The crops of a year in a bed change from year to year, as a gardener rotates them.
void fillPlan(TGroupList& plan, const TSakumotuList& crops, int year, int planIndex) {
    for (int b = 0; b < kBeds; ++b) {
        TGroup* group = plan.add();
        group->name = QStringLiteral("畑%1 畝%2").arg(planIndex + 1).arg(b + 1);
        group->order = b;
        for (int c = 0; c < kCropsPerBed; ++c) {
            TSakumotu2* entry = group->add();
            entry->name = crops.at((year * 7 + b * 3 + c * 11 + planIndex) % crops.count())->name;
            entry->StTuki = QStringLiteral("4");
            entry->StShuu = QStringLiteral("1");
            entry->EdTuki = QStringLiteral("9");
            entry->EdShuu = QStringLiteral("4");
            entry->ichi = c + 1;
        }
    }
}

} // namespace

// Ten years of eight plans: this year's plans in their files, nine past years
// kept as seasons, and the starter catalogue. The check is what the entry
// dialog's OK does (every plan and season gathered, then one bed asked); the
// table what 連作表 does before it shows.
QList<Figure> seasonFigures(const QString& root, int runs) {
    const QString folder = root + QStringLiteral("/seasons/");
    QDir().mkpath(folder);
    store::RecordingSink sink;
    TSakumotuList crops;
    if (!crops.LoadFromFile(QStringLiteral(AOBAROKU_STARTER_DIR "/"), sink) || crops.count() == 0)
        throw std::runtime_error("the starter catalogue did not load");
    seasons::Seasons kept;
    for (int p = 0; p < int(PlanFiles().size()); ++p) {
        for (int y = kToday - kYears + 1; y < kToday; ++y) {
            TGroupList past;
            fillPlan(past, crops, y, p);
            kept.keepPlan(y, PlanFiles()[size_t(p)].fileName, QStringLiteral("畑"), past, QDate(y, 12, 1));
        }
        TGroupList now;
        fillPlan(now, crops, kToday, p);
        now.SaveToFile(folder, QStringLiteral("畑"), PlanFiles()[size_t(p)].fileName, sink);
    }
    kept.SavePastPlans(folder, sink);
    seasons::Seasons loaded;
    loaded.LoadFromFolder(folder, sink);
    if (!sink.messages.isEmpty() || loaded.pastPlans().size() != size_t(8 * (kYears - 1)))
        throw std::runtime_error("the seasons did not load");
    TGroupList current;
    current.LoadFromFile(folder, PlanFiles()[0].fileName, sink);
    const QDate today(kToday, 5, 1);
    const seasons::CropFamilies::Info nasu = seasons::CropFamilies(crops).of(QStringLiteral("ナス"));
    size_t found = 0;
    int beds = 0;
    const QList<double> ms = medianMs(
        runs,
        {{[&] {
             const seasons::CropFamilies families(crops);
             const seasons::RotationBook book =
                 seasons::BookOfNotebook(loaded, folder, current, PlanFiles()[0].fileName, families, today);
             found = book.conflicts(seasons::BedKey(QStringLiteral("畑1 畝1")), kToday, nasu.family, nasu.gap)
                         .size();
         }},
         {[&] {
             const seasons::CropFamilies families(crops);
             const seasons::RotationTable table = seasons::BuildRotationTable(
                 seasons::BookOfNotebook(loaded, folder, current, PlanFiles()[0].fileName, families, today));
             beds = int(table.beds.size());
             seasons::DrawRotationTable(table);
         }}});
    Q_UNUSED(found);
    return {
        {QStringLiteral("連作障害 check (%1 years x 8 plans, %2 entries each)")
             .arg(kYears)
             .arg(kBeds * kCropsPerBed),
         ms[0], QString(), 0, 0, kCheckTargetMs, runs},
        {QStringLiteral("連作表 built and drawn (%1 beds x %2 years)").arg(beds).arg(kYears), ms[1],
         QString(), 0, 0, kTableTargetMs, runs},
    };
}

} // namespace bench
