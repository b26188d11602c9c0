#include "crops/crop_records.h"
#include "plans/plan_records.h"
#include "seasons/rotation.h"
#include "seasons/rotation_picture.h"
#include "seasons/rotation_table.h"
#include "seasons/season_records.h"
#include "store/message_sink.h"
#include "support/files.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using testsupport::folderOf;

namespace {

struct Placed {
    const char* bed;
    const char* crop;
};

void fill(TGroupList& plan, const QList<Placed>& placed) {
    for (const Placed& p : placed) {
        TGroup* group = plan.FindGroup(QString::fromUtf8(p.bed));
        if (!group) {
            group = plan.add();
            group->name = QString::fromUtf8(p.bed);
            group->order = plan.count();
        }
        TSakumotu2* entry = group->add();
        entry->name = QString::fromUtf8(p.crop);
        entry->StTuki = QStringLiteral("4");
        entry->StShuu = QStringLiteral("1");
        entry->EdTuki = QStringLiteral("8");
        entry->EdShuu = QStringLiteral("5");
        entry->ichi = group->count();
    }
}

void addCrop(TSakumotuList& crops, const char* name, const char* kamoku, const char* note) {
    TSakumotu* crop = crops.add();
    crop->name = QString::fromUtf8(name);
    crop->kamoku = QString::fromUtf8(kamoku);
    if (*note)
        crop->memo << QString::fromUtf8(note);
}

// year + bed key + crop of every planting that the book finds too soon after its family.
QSet<QString> marked(const seasons::RotationBook& book) {
    QSet<QString> found;
    for (const seasons::Planting& p : book.plantings())
        if (!book.conflicts(p.bedKey, p.year, p.family, p.gap).empty())
            found << QStringLiteral("%1 %2 %3").arg(p.year).arg(p.bedKey, p.crop);
    return found;
}

} // namespace

class RotationBookTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void everyRepeatWithinItsGapIsMarkedAndNothingElse();
    void questionNamesYearsCropsAndGap();
    void tableMarksTheSameCellsAndExportsThem();
    void aFamilyKeepsItsColourInEveryRun_data();
    void aFamilyKeepsItsColourInEveryRun();

private:
    seasons::RotationBook fiveYears();

    QTemporaryDir m_dir;
    TSakumotuList m_crops;
    TGroupList m_current;
};

void RotationBookTest::init() {
    m_crops.clear();
    addCrop(m_crops, "ナス", "ナス科ナス属", "連作障害：４～５年あける");
    addCrop(m_crops, "トマト", "ナス科ナス属", "連作障害：なし（ナス科は4～5年あける）");
    addCrop(m_crops, "キュウリ", "ウリ科キュウリ属", "連作障害：2～3年あける");
    addCrop(m_crops, "ダイコン", "アブラナ科ダイコン属", "連作障害：1～2年あける");
    addCrop(m_crops, "キャベツ", "アブラナ科アブラナ属", "連作障害：2～3年あける");
    addCrop(m_crops, "タマネギ", "ヒガンバナ科ネギ属", "連作障害：1～2年あける");
    addCrop(m_crops, "ネギ", "ユリ科ネギ属", "");
    addCrop(m_crops, "トウモロコシ", "イネ科トウモロコシ属", "連作障害：なし");
    addCrop(m_crops, "ハーブ", "", "連作障害：3年");
}

// 2022 and 2023 are past seasons only; 2024 and 2025 are plans with a year
// (2025 also kept as a season); the first plan has no year and is for 2026.
seasons::RotationBook RotationBookTest::fiveYears() {
    const QString folder = folderOf(m_dir);
    store::RecordingSink sink;
    seasons::Seasons kept;
    const QDate today(2026, 5, 10);
    TGroupList y2022, y2023, y2024, y2025;
    fill(y2022, {{"北畝", "ナス"}, {"南畝", "キュウリ"}, {"ＡＢ畝", "タマネギ"}, {"西畝", "ハーブ"}});
    fill(y2023, {{"北畝", "トウモロコシ"}, {"南畝", "ダイコン"}, {"AB畝 ", "ネギ"}, {"西畝", "ハーブ"}});
    fill(y2024, {{"北畝", "トマト"}, {"南畝", "キュウリ"}, {"東畝", "キャベツ"}});
    fill(y2025, {{" 北畝", "ナス"}, {"南畝", "ダイコン"}, {"東畝", "ダイコン"}});
    fill(m_current, {{"北畝", "トウモロコシ"}, {"南畝", "キャベツ"}, {"ＡＢ畝", "ネギ"}, {"西畝", "ナス"}});
    kept.keepPlan(2022, PlanFiles()[0].fileName, QStringLiteral("畑"), y2022, today);
    kept.keepPlan(2023, PlanFiles()[0].fileName, QStringLiteral("畑"), y2023, today);
    kept.keepPlan(2025, PlanFiles()[2].fileName, QStringLiteral("畑25"), y2025, today);
    kept.setYear(PlanFiles()[1].fileName, 2024);
    kept.setYear(PlanFiles()[2].fileName, 2025);
    y2024.SaveToFile(folder, QStringLiteral("畑24"), PlanFiles()[1].fileName, sink);
    y2025.SaveToFile(folder, QStringLiteral("畑25"), PlanFiles()[2].fileName, sink);
    // On disk the first plan is empty: the plan in memory is the one that counts.
    const seasons::CropFamilies families(m_crops);
    seasons::RotationBook book =
        seasons::BookOfNotebook(kept, folder, m_current, PlanFiles()[0].fileName, families, today);
    if (!sink.messages.isEmpty())
        qWarning() << sink.messages;
    return book;
}

void RotationBookTest::everyRepeatWithinItsGapIsMarkedAndNothingElse() {
    const seasons::RotationBook book = fiveYears();
    const QString ab = seasons::BedKey(QStringLiteral("AB畝"));
    const QSet<QString> expected{
        QStringLiteral("2023 %1 ネギ").arg(ab), // タマネギ 2022, one family, gap 1 from the table
        QStringLiteral("2024 南畝 キュウリ"),   // キュウリ 2022, gap 2
        QStringLiteral("2025 北畝 ナス"),       // トマト 2024 and ナス 2022, gap 4
        QStringLiteral("2025 東畝 ダイコン"),   // キャベツ 2024, gap 1
        QStringLiteral("2026 南畝 キャベツ"),   // ダイコン 2025, gap 2
    };
    QCOMPARE(marked(book), expected);
}

void RotationBookTest::questionNamesYearsCropsAndGap() {
    const seasons::RotationBook book = fiveYears();
    const seasons::CropFamilies families(m_crops);
    const seasons::CropFamilies::Info nasu = families.of(QStringLiteral("ナス"));
    const std::vector<seasons::Planting> found =
        book.conflicts(seasons::BedKey(QStringLiteral("北畝")), 2026, nasu.family, nasu.gap);
    // 2025 kept twice (plan and season) counts once; 2022 is four years back, within four.
    QCOMPARE(int(found.size()), 3);
    QCOMPARE(found[0].year, 2025);
    QCOMPARE(found[1].year, 2024);
    QCOMPARE(found[2].year, 2022);
    QCOMPARE(seasons::ConflictQuestion(QStringLiteral("ナス"), QStringLiteral("北畝"), nasu.gap, found),
             QStringLiteral("「北畝」には、同じ科の作物が連作障害の目安の年数のうちに育っています。\n"
                            "　2025年度：ナス（ナス科）\n"
                            "　2024年度：トマト（ナス科）\n"
                            "　2022年度：ナス（ナス科）\n"
                            "ナスは 4～5年 あけるのが目安です。このまま追加しますか？"));
    // Five years after, the bed has rested long enough.
    QVERIFY(book.conflicts(seasons::BedKey(QStringLiteral("北畝")), 2030, nasu.family, nasu.gap).empty());
}

void RotationBookTest::tableMarksTheSameCellsAndExportsThem() {
    const seasons::RotationTable table = seasons::BuildRotationTable(fiveYears());
    QCOMPARE(table.years, (QList<int>{2022, 2023, 2024, 2025, 2026}));
    QCOMPARE(table.beds.size(), 5); // ＡＢ畝 and AB畝 are one bed, " 北畝" is 北畝
    int conflicts = 0;
    for (const auto& row : table.cells)
        for (const seasons::RotationCell& cell : row)
            conflicts += cell.conflict ? 1 : 0;
    QCOMPARE(conflicts, 5);
    const int north = int(table.beds.indexOf(QStringLiteral("北畝")));
    QVERIFY(north >= 0);
    QCOMPARE(table.cells[north][3].text(), QStringLiteral("※ナス科：ナス"));
    QCOMPARE(table.cells[north][4].text(), QStringLiteral("イネ科：トウモロコシ"));
    const QByteArray bytes = seasons::RotationCsv(table);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QString csv = QString::fromUtf8(bytes.mid(3));
    QVERIFY(csv.startsWith(QStringLiteral("畝,2022年度,2023年度,2024年度,2025年度,2026年度\r\n")));
    QVERIFY(csv.contains(QStringLiteral("北畝,ナス科：ナス,イネ科：トウモロコシ,ナス科：トマト,※ナス科：ナス,"
                                        "イネ科：トウモロコシ\r\n")));
}

// The hues are fixed, the same in every run: a saved 連作表 and the one on the
// screen tomorrow show a family in the same colour.
void RotationBookTest::aFamilyKeepsItsColourInEveryRun_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("hue");
    QTest::newRow("ナス科") << QStringLiteral("ナス科") << 158;
    QTest::newRow("ウリ科") << QStringLiteral("ウリ科") << 239;
    QTest::newRow("マメ科") << QStringLiteral("マメ科") << 153;
}
void RotationBookTest::aFamilyKeepsItsColourInEveryRun() {
    QFETCH(QString, family);
    QFETCH(int, hue);
    QCOMPARE(seasons::FamilyColour(family).hsvHue(), hue);
}

QTEST_APPLESS_MAIN(RotationBookTest)
#include "rotation_book_test.moc"
