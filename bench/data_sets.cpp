#include "data_sets.h"

#include "crops/crop_records.h"
#include "favourites/favourite_records.h"
#include "plans/plan_records.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"

#include <QDir>
#include <QStringList>
#include <functional>
#include <random>
#include <stdexcept>

namespace bench {

namespace {

const QStringList kCrops = {
    "トマト",       "ミニトマト", "ナス",         "キュウリ",     "ピーマン",   "シシトウ",     "オクラ",
    "トウモロコシ", "エダマメ",   "インゲン",     "ソラマメ",     "エンドウ",   "カボチャ",     "ズッキーニ",
    "スイカ",       "メロン",     "ゴーヤ",       "ジャガイモ",   "サツマイモ", "サトイモ",     "ダイコン",
    "カブ",         "ニンジン",   "ゴボウ",       "タマネギ",     "ニンニク",   "ネギ",         "ラッキョウ",
    "キャベツ",     "ハクサイ",   "ブロッコリー", "カリフラワー", "コマツナ",   "ホウレンソウ", "ミズナ",
    "シュンギク",   "レタス",     "チンゲンサイ", "イチゴ",       "ショウガ"};
const QStringList kFamilies = {"ナス科",     "ウリ科", "マメ科",    "アブラナ科", "ヒガンバナ科",
                               "キク科",     "セリ科", "ヒユ科",    "イネ科",     "ヒルガオ科",
                               "サトイモ科", "バラ科", "ショウガ科"};
const QStringList kChores = {"種まき", "植え付け", "追肥",   "土寄せ",
                             "収穫",   "支柱立て", "間引き", "防虫ネット"};
const QStringList kNotes = {"化成肥料を一握り（株元から10cm離す）",
                            "株元に敷きわら",
                            "雨の前に済ませる",
                            "①畝の東側から順に",
                            "葉かき・わき芽かき",
                            "水やりは朝～昼に",
                            "苦土石灰 100g/㎡"};
const QStringList kGoods = {"培養土 25L", "化成肥料 8-8-8", "苗", "支柱 150cm",
                            "防虫ネット", "マルチ 黒",      "種", "鶏ふん 15kg",
                            "じょうろ",   "寒冷紗"};
const QStringList kThirds = {"上旬", "中旬", "下旬"};

// A fixed sequence, the same on every machine.
class Dice {
public:
    int below(int n) { return int(m_engine() % unsigned(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    const QString& pick(const QStringList& texts) { return texts[below(int(texts.size()))]; }

private:
    std::mt19937 m_engine{20260101};
};

QString num(int n) {
    return QString::number(n);
}

QStringList noteLines(Dice& dice, int most) {
    QStringList lines;
    for (int n = dice.below(most + 1); n > 0; --n)
        lines << dice.pick(kNotes);
    return lines;
}

QString periodText(Dice& dice) {
    return num(dice.between(1, 12)) + QStringLiteral("月") + dice.pick(kThirds);
}

// Purchases on dates all over the years, with as many lines as linesOf throws.
void fillPurchasesWith(TCostList& purchases, int count, Dice& dice,
                       const std::function<int(Dice&)>& linesOf) {
    for (int i = 0; i < count; ++i) {
        TCost* cost = purchases.add();
        cost->nen = num(dice.between(2016, 2026));
        cost->tuki = num(dice.between(1, 12));
        cost->hi = num(dice.between(1, 28));
        for (int n = linesOf(dice); n > 0; --n) {
            TSina* line = cost->sina.add();
            line->name = dice.pick(kGoods) + QLatin1Char(' ') + dice.pick(kCrops);
            line->kingaku = num(dice.between(1, 500) * 10);
        }
    }
}

void ensure(bool saved, const QString& what) {
    if (!saved)
        throw std::runtime_error("cannot write the data set " + what.toStdString());
}

QString made(const QString& folder) {
    if (!QDir().mkpath(folder))
        throw std::runtime_error("cannot make " + folder.toStdString());
    return folder;
}

void writeTasks(const QString& folder, int count) {
    TYoteiList tasks;
    fillTasks(tasks, count);
    store::RecordingSink sink;
    ensure(tasks.SaveToFile(made(folder), sink), folder + kYoteiFileName);
}

void writeCrops(const QString& folder) {
    TSakumotuList crops;
    fillCrops(crops, kCropCount);
    store::RecordingSink sink;
    ensure(crops.SaveToFile(made(folder), sink), folder + kCropFileName);
}

void writePurchases(const QString& folder) {
    TCostList purchases;
    fillPurchases(purchases, kPurchaseCount, kPurchaseLines);
    store::RecordingSink sink;
    ensure(purchases.SaveToFile(made(folder), sink), folder + kCostFileName);
}

void writePlan(const QString& folder) {
    TGroupList plan;
    fillPlan(plan, kPlanGroups, kPlanEntries);
    store::RecordingSink sink;
    const QString& file = PlanFiles().front().fileName;
    ensure(plan.SaveToFile(made(folder), plan.name, file, sink), folder + file);
}

void writeFavourites(const QString& folder) {
    TOkiniList favourites;
    fillFavourites(favourites, kFavouriteCount);
    store::RecordingSink sink;
    ensure(favourites.SaveToFile(made(folder), sink), folder + kOkiniFileName);
}

// The tasks of both large notebooks, in the order the program keeps them.
void writeLargeTasks(const QString& folder) {
    TYoteiList tasks;
    fillTasks(tasks, kLargeTasks);
    tasks.SortByWeek();
    store::RecordingSink sink;
    ensure(tasks.SaveToFile(folder, sink), folder + kYoteiFileName);
}

// The large notebook with a catalogue, a plan in every one of the eight files
// and favourites beside it: every kind of record the search looks through.
void writeSearchNotebook(const QString& folder) {
    writeLargeNotebook(made(folder));
    writeCrops(folder);
    writeFavourites(folder);
    TGroupList plan;
    fillPlan(plan, kPlanGroups, kPlanEntries);
    store::RecordingSink sink;
    for (const PlanFileInfo& file : PlanFiles())
        ensure(plan.SaveToFile(folder, plan.name, file.fileName, sink), folder + file.fileName);
}

} // namespace

void fillTasks(TYoteiList& tasks, int count) {
    Dice dice;
    for (int i = 0; i < count; ++i) {
        TYotei* task = tasks.add();
        task->name = dice.pick(kCrops) + QStringLiteral("の") + dice.pick(kChores);
        task->tuki = num(dice.between(1, 12));
        task->shuu = num(dice.between(1, 5));
        task->state = dice.below(4) == 0 ? kYoteiDone : QString();
        task->note = noteLines(dice, 3);
    }
}

void fillCrops(TSakumotuList& crops, int count) {
    Dice dice;
    for (int i = 0; i < count; ++i) {
        TSakumotu* crop = crops.add();
        crop->name = kCrops[i % kCrops.size()] + QStringLiteral("（%1）").arg(i / kCrops.size() + 1);
        crop->kamoku = dice.pick(kFamilies);
        crop->okiniiri1 = QStringLiteral("品種A-%1").arg(i);
        crop->okiniiri2 = dice.below(2) ? QStringLiteral("品種B-%1").arg(i) : QString();
        crop->joukan = num(dice.between(3, 12) * 10);
        crop->kabukan1 = num(dice.between(2, 10) * 5);
        crop->kabukan2 = dice.below(2) ? num(dice.between(2, 10) * 5) : QString();
        for (int n = dice.between(1, 3); n > 0; --n) {
            TJiki* period = crop->jiki.add();
            period->st = periodText(dice);
            period->ed = periodText(dice);
        }
        crop->memo = noteLines(dice, 4);
    }
}

void fillPurchases(TCostList& purchases, int count, int linesEach) {
    Dice dice;
    fillPurchasesWith(purchases, count, dice, [linesEach](Dice&) { return linesEach; });
}

void fillPlan(TGroupList& plan, int groups, int entriesEach) {
    Dice dice;
    plan.name = QStringLiteral("今年の畑");
    for (int g = 0; g < groups; ++g) {
        TGroup* group = plan.add();
        group->name = QStringLiteral("第%1畝").arg(g + 1);
        group->order = g + 1;
        for (int e = 0; e < entriesEach; ++e) {
            TSakumotu2* entry = group->add();
            const int start = dice.between(2, 12);
            entry->name = dice.pick(kCrops);
            entry->StTuki = num(start);
            entry->StShuu = num(dice.between(1, 5));
            entry->EdTuki = num((start - 1 + dice.between(1, 5)) % 12 + 1);
            entry->EdShuu = num(dice.between(1, 5));
            entry->ichi = e / 5 + 1;
        }
    }
}

void fillFavourites(TOkiniList& favourites, int count) {
    for (int i = 0; i < count; ++i) {
        TOkini* okini = favourites.add();
        okini->name = QStringLiteral("家庭菜園の手引き %1").arg(i + 1);
        okini->url = QStringLiteral("https://example.org/saien/%1.html").arg(i + 1);
        okini->memo = QStringLiteral("%1の育て方が詳しい").arg(kCrops[i % kCrops.size()]);
    }
}

QString taskFolder(const QString& root, int count) {
    return root + QStringLiteral("/tasks-%1/").arg(count);
}

QString cropFolder(const QString& root) {
    return root + QStringLiteral("/crops/");
}

QString purchaseFolder(const QString& root) {
    return root + QStringLiteral("/purchases/");
}

QString planFolder(const QString& root) {
    return root + QStringLiteral("/plan/");
}

QString fullFolder(const QString& root) {
    return root + QStringLiteral("/full/");
}

QString largeFolder(const QString& root) {
    return root + QStringLiteral("/large/");
}

QString shuffledFolder(const QString& root) {
    return root + QStringLiteral("/shuffled/");
}

QString searchFolder(const QString& root) {
    return root + QStringLiteral("/search/");
}

// Most purchases of one line, some of two, as a gardener's receipts go.
void writeLargeNotebook(const QString& folder) {
    writeLargeTasks(made(folder));
    store::RecordingSink sink;
    TCostList purchases;
    fillPurchases(purchases, kLargePurchases, 1);
    Dice dice;
    for (int i = 0; i < purchases.count(); i += 2 + dice.below(8)) {
        TSina* line = purchases.at(i)->sina.add();
        line->name = dice.pick(kGoods);
        line->kingaku = num(dice.between(1, 300) * 10);
    }
    // The program keeps its lists in order and saves them so.
    purchases.SortByDate();
    ensure(purchases.SaveToFile(folder, sink), folder + kCostFileName);
}

// As the Windows copy leaves it: purchases in the order they were typed in,
// dates all over the years, and 0 to 3 lines each.
void writeShuffledNotebook(const QString& folder) {
    writeLargeTasks(made(folder));
    TCostList purchases;
    Dice dice;
    fillPurchasesWith(purchases, kLargePurchases, dice, [](Dice& d) { return d.below(kPurchaseLines + 1); });
    store::RecordingSink sink;
    ensure(purchases.SaveToFile(folder, sink), folder + kCostFileName);
}

void writeDataSets(const QString& root, const QList<int>& taskCounts) {
    for (int count : taskCounts)
        writeTasks(taskFolder(root, count), count);
    writeCrops(cropFolder(root));
    writePurchases(purchaseFolder(root));
    writePlan(planFolder(root));
    const QString full = fullFolder(root);
    writeTasks(full, kCommandTasks);
    writeCrops(full);
    writePurchases(full);
    writePlan(full);
    writeFavourites(full);
    writeLargeNotebook(largeFolder(root));
    writeShuffledNotebook(shuffledFolder(root));
    writeSearchNotebook(searchFolder(root));
}

} // namespace bench
