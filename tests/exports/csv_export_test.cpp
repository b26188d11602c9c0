#include "crops/crop_records.h"
#include "exports/chart_totals.h"
#include "exports/csv_export.h"
#include "purchases/purchase_records.h"

#include <QtTest>

namespace {

// Reads CSV back by RFC 4180, so the test does not trust the writer's quoting.
QList<QStringList> readCsv(const QByteArray& bytes) {
    const QString text = QString::fromUtf8(bytes.mid(3));
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text.at(i + 1) == '"')
                field += text.at(++i);
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row << field;
            field.clear();
        } else if (c == '\r' && i + 1 < text.size() && text.at(i + 1) == '\n') {
            row << field;
            rows << row;
            row.clear();
            field.clear();
            ++i;
        } else {
            field += c;
        }
    }
    return rows;
}

TCost* addCost(TCostList& costs, const QString& nen, const QString& tuki, const QString& hi,
               const QList<QPair<QString, QString>>& lines) {
    TCost* cost = costs.add();
    cost->nen = nen;
    cost->tuki = tuki;
    cost->hi = hi;
    for (const auto& [name, amount] : lines) {
        TSina* line = cost->sina.add();
        line->name = name;
        line->kingaku = amount;
    }
    return cost;
}

// Purchases in 2013 and 2014, with a purchase without lines and a padded amount.
void fillLedger(TCostList& costs) {
    addCost(costs, "2013", "12", "1", {{"種", "300"}});
    addCost(costs, "2014", "5", "3", {{"苗", "0500"}, {"堆肥, 20L", "1200"}});
    addCost(costs, "2014", "5", "20", {});
    addCost(costs, "2014", "10", "2", {{"\"支柱\"", "800"}, {"手書き", "abc"}});
}

qint64 columnSum(const QList<QStringList>& rows) {
    qint64 sum = 0;
    for (const QStringList& row : rows.mid(1))
        sum += row.at(2).toLongLong();
    return sum;
}

} // namespace

class CsvExportTest : public QObject {
    Q_OBJECT
private slots:
    void fieldsAreQuotedOnlyWhenNeeded_data();
    void fieldsAreQuotedOnlyWhenNeeded();
    void documentHasByteOrderMarkAndCrLf();
    void purchasesAddUpToTheTabTotal_data();
    void purchasesAddUpToTheTabTotal();
    void purchaseRowsAreOnePerLine();
    void cropsInCatalogueOrderWithoutTheDummy();
    void chartBarsAreTheFilterTotals();
    void chartTotalsBeyond32Bits();
    void chartTicksCoverTheLargestTotal_data();
    void chartTicksCoverTheLargestTotal();
};

void CsvExportTest::fieldsAreQuotedOnlyWhenNeeded_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("written");
    QTest::newRow("plain") << "トマト"
                           << "トマト";
    QTest::newRow("empty") << ""
                           << "";
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

void CsvExportTest::documentHasByteOrderMarkAndCrLf() {
    const QByteArray bytes = csv::document({{"a", "b,c"}, {"①", "x\ny"}});
    QCOMPARE(bytes, QByteArray("\xEF\xBB\xBF"
                               "a,\"b,c\"\r\n"
                               "\xE2\x91\xA0,\"x\ny\"\r\n"));
}

void CsvExportTest::purchasesAddUpToTheTabTotal_data() {
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("month");
    QTest::addColumn<int>("purchases");
    QTest::newRow("all") << "すべて"
                         << "すべて" << 4;
    QTest::newRow("a year") << "2014"
                            << "すべて" << 3;
    QTest::newRow("a month") << "2014"
                             << "5" << 2;
    QTest::newRow("nothing") << "2015"
                             << "すべて" << 0;
}

void CsvExportTest::purchasesAddUpToTheTabTotal() {
    QFETCH(QString, year);
    QFETCH(QString, month);
    QFETCH(int, purchases);
    TCostList costs;
    fillLedger(costs);
    const TCostRefList shown = costs.Filter(year, month);
    const CsvExport csv = PurchasesCsv(shown);
    const QList<QStringList> rows = readCsv(csv.bytes);
    QCOMPARE(csv.records, purchases);
    QCOMPARE(csv.rows, rows.size() - 1);
    QCOMPARE(columnSum(rows), shown.ListTotal());
}

void CsvExportTest::purchaseRowsAreOnePerLine() {
    TCostList costs;
    fillLedger(costs);
    const CsvExport csv = PurchasesCsv(costs.Filter("すべて", "すべて"));
    QCOMPARE(csv.rows, 6);
    const QList<QStringList> expected = {
        {"日付", "購入内容", "金額"},      {"2013/12/1", "種", "300"}, {"2014/5/3", "苗", "500"},
        {"2014/5/3", "堆肥, 20L", "1200"}, {"2014/5/20", "", "0"},     {"2014/10/2", "\"支柱\"", "800"},
        {"2014/10/2", "手書き", "0"},
    };
    QCOMPARE(readCsv(csv.bytes), expected);
    QVERIFY(csv.bytes.contains("\r\n2014/5/3,\"堆肥, 20L\",1200\r\n"));
    QVERIFY(csv.bytes.contains(",\"\"\"支柱\"\"\",800\r\n"));
}

void CsvExportTest::cropsInCatalogueOrderWithoutTheDummy() {
    TSakumotuList crops;
    crops.add()->name = kDummyCropName;
    TSakumotu* tomato = crops.add();
    tomato->name = "トマト";
    tomato->kamoku = "ナス科";
    tomato->okiniiri2 = "桃太郎";
    tomato->joukan = "60";
    tomato->kabukan1 = "45";
    TJiki* spring = tomato->jiki.add();
    spring->st = "3月";
    spring->ed = "4月";
    tomato->jiki.add()->st = "9月";
    tomato->memo = {"支柱を立てる", "", "わき芽, \"摘む\""};
    crops.add()->name = "ナス";
    const CsvExport csv = CropsCsv(crops);
    QCOMPARE(csv.records, 2);
    const QList<QStringList> expected = {
        {"作物名", "科", "お気に入り品種", "栽培時期", "間隔", "メモ"},
        {"トマト", "ナス科", "桃太郎", "3月～4月、9月～", "株間45cm", "支柱を立てる\n\nわき芽, \"摘む\""},
        {"ナス", "", "", "", "", ""},
    };
    QCOMPARE(readCsv(csv.bytes), expected);
}

void CsvExportTest::chartBarsAreTheFilterTotals() {
    TCostList costs;
    fillLedger(costs);
    QList<ChartBar> bars = PurchaseChartBars(costs, "すべて", "すべて");
    QCOMPARE(bars.size(), 2);
    QCOMPARE(bars[0].label, QStringLiteral("2013年"));
    QCOMPARE(bars[0].total, costs.Filter("2013", "すべて").ListTotal());
    QCOMPARE(bars[1].total, costs.Filter("2014", "すべて").ListTotal());
    QCOMPARE(bars[1].total, qint64(2500));

    bars = PurchaseChartBars(costs, "2014", "5");
    QCOMPARE(bars.size(), 12);
    for (int m = 1; m <= 12; ++m) {
        const ChartBar& bar = bars[m - 1];
        QCOMPARE(bar.label, QString::number(m) + "月");
        QCOMPARE(bar.total, costs.Filter("2014", QString::number(m)).ListTotal());
        QCOMPARE(bar.highlighted, m == 5);
    }
    QCOMPARE(bars[4].total, qint64(1700));
    QCOMPARE(bars[0].total, qint64(0));
    QVERIFY(!PurchaseChartBars(costs, "2014", "すべて")[4].highlighted);
}

void CsvExportTest::chartTotalsBeyond32Bits() {
    TCostList costs;
    addCost(costs, "2014", "3", "1", {{"土地", "2147483647"}, {"家", "2147483647"}});
    addCost(costs, "2014", "4", "1", {{"倉庫", "5000000000"}});
    const QList<ChartBar> months = PurchaseChartBars(costs, "2014", "すべて");
    QCOMPARE(months[2].total, qint64(4294967294));
    QCOMPARE(months[3].total, qint64(5000000000));
    QCOMPARE(PurchaseChartBars(costs, "すべて", "すべて")[0].total, qint64(9294967294));
    QCOMPARE(columnSum(readCsv(PurchasesCsv(costs.Filter("すべて", "すべて")).bytes)), qint64(9294967294));
}

void CsvExportTest::chartTicksCoverTheLargestTotal_data() {
    QTest::addColumn<qint64>("largest");
    QTest::addColumn<qint64>("step");
    QTest::addColumn<qint64>("top");
    QTest::newRow("nothing bought") << qint64(0) << qint64(100) << qint64(1000);
    QTest::newRow("12,800") << qint64(12800) << qint64(2000) << qint64(14000);
    QTest::newRow("exactly 50,000") << qint64(50000) << qint64(10000) << qint64(50000);
    QTest::newRow("beyond 2^31") << qint64(5000000000) << qint64(1000000000) << qint64(5000000000);
    QTest::newRow("9,294,967,294") << qint64(9294967294) << qint64(1000000000) << qint64(10000000000);
}

void CsvExportTest::chartTicksCoverTheLargestTotal() {
    QFETCH(qint64, largest);
    QFETCH(qint64, step);
    QFETCH(qint64, top);
    const QList<qint64> ticks = ChartTicks(largest);
    QCOMPARE(ticks.first(), qint64(0));
    QCOMPARE(ticks.last(), top);
    QCOMPARE(ticks.at(1) - ticks.at(0), step);
    QVERIFY(ticks.size() >= 6 && ticks.size() <= 11);
}

QTEST_GUILESS_MAIN(CsvExportTest)
#include "csv_export_test.moc"
