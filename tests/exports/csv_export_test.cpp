#include "crops/crop_records.h"
#include "exports/chart_totals.h"
#include "exports/csv_export.h"
#include "purchases/purchase_records.h"

#include <QtTest>

namespace {

const QByteArray kBom("\xEF\xBB\xBF");

void addCost(TCostList& costs, const QString& nen, const QString& tuki,
             const QList<QPair<QString, QString>>& lines) {
    TCost* cost = costs.add();
    cost->nen = nen;
    cost->tuki = tuki;
    cost->hi = "3";
    for (const auto& [name, amount] : lines) {
        TSina* line = cost->sina.add();
        line->name = name;
        line->kingaku = amount;
    }
}

// 2013 and 2014, with a purchase without lines, a padded amount and one that is no number.
void fillLedger(TCostList& costs) {
    addCost(costs, "2013", "12", {{"種", "300"}});
    addCost(costs, "2014", "5", {{"苗", "0500"}, {"堆肥, 20L", "1200"}});
    addCost(costs, "2014", "5", {});
    addCost(costs, "2014", "10", {{"\"支柱\"", "800"}, {"手書き", "abc"}});
}

// The amount closes every row, so the sum needs no CSV reader.
qint64 amountSum(const QByteArray& csv) {
    qint64 sum = 0;
    for (const QByteArray& row : csv.split('\n').mid(1))
        sum += row.mid(row.lastIndexOf(',') + 1).trimmed().toLongLong();
    return sum;
}

} // namespace

class CsvExportTest : public QObject {
    Q_OBJECT
private slots:
    void fieldsAreQuotedOnlyWhenNeeded_data();
    void fieldsAreQuotedOnlyWhenNeeded();
    void purchaseRowsAreOnePerLineWithPlainAmounts();
    void purchasesAddUpToTheTabTotal_data();
    void purchasesAddUpToTheTabTotal();
    void cropsInCatalogueOrderWithoutTheDummy();
    void chartBarsAreTheFilterTotals();
    void totalsBeyond32Bits();
    void chartTicksCoverTheLargestTotal_data();
    void chartTicksCoverTheLargestTotal();
};

void CsvExportTest::fieldsAreQuotedOnlyWhenNeeded_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain") << "トマト"
                           << "トマト";
    QTest::newRow("comma") << "a,b"
                           << "\"a,b\"";
    QTest::newRow("quote") << "6\"鉢"
                           << "\"6\"\"鉢\"";
    QTest::newRow("LF") << "a\nb"
                        << "\"a\nb\"";
    QTest::newRow("CR") << "a\rb"
                        << "\"a\rb\"";
    QTest::newRow("semicolon and spaces stay bare") << " a; b "
                                                    << " a; b ";
}

void CsvExportTest::fieldsAreQuotedOnlyWhenNeeded() {
    QFETCH(QString, value);
    QFETCH(QString, written);
    QCOMPARE(csv::field(value), written);
}

void CsvExportTest::purchaseRowsAreOnePerLineWithPlainAmounts() {
    TCostList costs;
    fillLedger(costs);
    const CsvExport csv = PurchasesCsv(costs.Filter("すべて", "すべて"));
    QCOMPARE(csv.records, 4);
    QCOMPARE(csv.rows, 6);
    QCOMPARE(csv.bytes, kBom + QStringLiteral("日付,購入内容,金額\r\n"
                                              "2013/12/3,種,300\r\n"
                                              "2014/5/3,苗,500\r\n"
                                              "2014/5/3,\"堆肥, 20L\",1200\r\n"
                                              "2014/5/3,,0\r\n"
                                              "2014/10/3,\"\"\"支柱\"\"\",800\r\n"
                                              "2014/10/3,手書き,0\r\n")
                                   .toUtf8());
}

void CsvExportTest::purchasesAddUpToTheTabTotal_data() {
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("month");
    QTest::newRow("all") << "すべて"
                         << "すべて";
    QTest::newRow("a year") << "2014"
                            << "すべて";
    QTest::newRow("a month") << "2014"
                             << "5";
    QTest::newRow("nothing") << "2015"
                             << "すべて";
}

void CsvExportTest::purchasesAddUpToTheTabTotal() {
    QFETCH(QString, year);
    QFETCH(QString, month);
    TCostList costs;
    fillLedger(costs);
    const TCostRefList shown = costs.Filter(year, month);
    QCOMPARE(amountSum(PurchasesCsv(shown).bytes), shown.ListTotal());
}

void CsvExportTest::cropsInCatalogueOrderWithoutTheDummy() {
    TSakumotuList crops;
    crops.add()->name = kDummyCropName;
    TSakumotu* tomato = crops.add();
    tomato->name = "トマト";
    tomato->kamoku = "ナス科";
    tomato->okiniiri2 = "桃太郎";
    tomato->kabukan1 = "45";
    TJiki* spring = tomato->jiki.add();
    spring->st = "3月";
    spring->ed = "4月";
    tomato->jiki.add()->st = "9月";
    tomato->memo = {"支柱を立てる", "", "わき芽, \"摘む\""};
    crops.add()->name = "ナス";
    const CsvExport csv = CropsCsv(crops);
    QCOMPARE(csv.records, 2);
    QCOMPARE(csv.bytes, kBom + QStringLiteral("作物名,科,お気に入り品種,栽培時期,間隔,メモ\r\n"
                                              "トマト,ナス科,桃太郎,3月～4月、9月～,株間45cm,"
                                              "\"支柱を立てる\n\nわき芽, \"\"摘む\"\"\"\r\n"
                                              "ナス,,,,,\r\n")
                                   .toUtf8());
}

void CsvExportTest::chartBarsAreTheFilterTotals() {
    TCostList costs;
    fillLedger(costs);
    QList<ChartBar> bars = PurchaseChartBars(costs, "すべて", "すべて");
    QCOMPARE(bars.size(), 2);
    QCOMPARE(bars[0].label, QStringLiteral("2013年"));
    QCOMPARE(bars[0].total, costs.Filter("2013", "すべて").ListTotal());
    QCOMPARE(bars[1].total, qint64(2500));

    bars = PurchaseChartBars(costs, "2014", "5");
    QCOMPARE(bars.size(), 12);
    for (int m = 1; m <= 12; ++m) {
        QCOMPARE(bars[m - 1].label, QString::number(m) + "月");
        QCOMPARE(bars[m - 1].total, costs.Filter("2014", QString::number(m)).ListTotal());
        QCOMPARE(bars[m - 1].highlighted, m == 5);
    }
    QCOMPARE(bars[4].total, qint64(1700));
    QCOMPARE(bars[0].total, qint64(0));
}

void CsvExportTest::totalsBeyond32Bits() {
    TCostList costs;
    addCost(costs, "2014", "3", {{"土地", "2147483647"}, {"家", "2147483647"}});
    addCost(costs, "2014", "4", {{"倉庫", "5000000000"}});
    const QList<ChartBar> months = PurchaseChartBars(costs, "2014", "すべて");
    QCOMPARE(months[2].total, qint64(4294967294));
    QCOMPARE(months[3].total, qint64(5000000000));
    QCOMPARE(PurchaseChartBars(costs, "すべて", "すべて")[0].total, qint64(9294967294));
    QCOMPARE(amountSum(PurchasesCsv(costs.Filter("すべて", "すべて")).bytes), qint64(9294967294));
}

void CsvExportTest::chartTicksCoverTheLargestTotal_data() {
    QTest::addColumn<qint64>("largest");
    QTest::addColumn<qint64>("step");
    QTest::addColumn<qint64>("top");
    QTest::newRow("nothing bought") << qint64(0) << qint64(100) << qint64(1000);
    QTest::newRow("12,800") << qint64(12800) << qint64(2000) << qint64(14000);
    QTest::newRow("exactly 50,000") << qint64(50000) << qint64(10000) << qint64(50000);
    QTest::newRow("9,294,967,294") << qint64(9294967294) << qint64(1000000000) << qint64(10000000000);
}

void CsvExportTest::chartTicksCoverTheLargestTotal() {
    QFETCH(qint64, largest);
    QFETCH(qint64, step);
    QFETCH(qint64, top);
    const QList<qint64> ticks = ChartTicks(largest);
    QCOMPARE(ticks.first(), qint64(0));
    QCOMPARE(ticks.last(), top);
    QCOMPARE(ticks.at(1), step);
}

QTEST_GUILESS_MAIN(CsvExportTest)
#include "csv_export_test.moc"
