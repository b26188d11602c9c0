#include "crops/crop_records.h"
#include "exports/csv_export.h"
#include "purchases/chart_totals.h"
#include "purchases/purchase_records.h"
#include "store/message_sink.h"

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

// Reads the file back as a spreadsheet reads it (RFC 4180): the rows of cells
// below the header, the byte order mark and the quoting taken off.
QList<QStringList> readCsv(const QByteArray& bytes, QStringList* header = nullptr) {
    const QString text = QString::fromUtf8(bytes.mid(kBom.size()));
    QList<QStringList> rows{{}};
    QString cell;
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted && c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
            cell += c;
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == ',') {
            rows.last() << std::exchange(cell, QString());
        } else if (!quoted && c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            rows.last() << std::exchange(cell, QString());
            rows.append(QStringList());
            ++i;
        } else {
            cell += c;
        }
    }
    rows.removeLast();
    if (header)
        *header = rows.value(0);
    return rows.mid(1);
}

// The text a guarded cell stands for.
QString unguarded(const QString& cell) {
    static const QString marked = QStringLiteral("=+-@\t\r'");
    return cell.size() > 1 && cell[0] == '\'' && marked.contains(cell[1]) ? cell.mid(1) : cell;
}

// A crop as the catalogue file holds it, back from one row of the export.
std::unique_ptr<TSakumotu> cropFromRow(QStringList row, int periods) {
    for (QString& cell : row)
        cell = unguarded(cell);
    auto crop = std::make_unique<TSakumotu>();
    crop->name = row[0];
    crop->kamoku = row[1];
    crop->okiniiri1 = row[2];
    crop->okiniiri2 = row[3];
    crop->joukan = row[4];
    crop->kabukan1 = row[5];
    crop->kabukan2 = row[6];
    int kept = periods;
    while (kept > 0 && row[5 + 2 * kept].isEmpty() && row[6 + 2 * kept].isEmpty())
        --kept;
    for (int n = 0; n < kept; ++n) {
        TJiki* period = crop->jiki.add();
        period->st = row[7 + 2 * n];
        period->ed = row[8 + 2 * n];
    }
    const QString memo = row[7 + 2 * periods];
    crop->memo = memo.isEmpty() ? QStringList() : memo.split('\n');
    return crop;
}

QStringList fields(const TSakumotu& crop) {
    QStringList all{crop.name,   crop.kamoku,   crop.okiniiri1, crop.okiniiri2,
                    crop.joukan, crop.kabukan1, crop.kabukan2};
    for (int i = 0; i < crop.jiki.count(); ++i)
        all << "period " + crop.jiki.at(i)->st << crop.jiki.at(i)->ed;
    return all << "memo" << crop.memo;
}

TSakumotu* addCrop(TSakumotuList& crops, const QStringList& texts,
                   const QList<QPair<QString, QString>>& periods, const QStringList& memo) {
    TSakumotu* crop = crops.add();
    crop->name = texts[0];
    crop->kamoku = texts[1];
    crop->okiniiri1 = texts[2];
    crop->okiniiri2 = texts[3];
    crop->joukan = texts[4];
    crop->kabukan1 = texts[5];
    crop->kabukan2 = texts[6];
    for (const auto& [st, ed] : periods) {
        TJiki* period = crop->jiki.add();
        period->st = st;
        period->ed = ed;
    }
    crop->memo = memo;
    return crop;
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
    void cellsThatASpreadsheetWouldCalculateAreMarked_data();
    void cellsThatASpreadsheetWouldCalculateAreMarked();
    void purchaseNamesAndDatesNeverBecomeFormulas();
    void cropsInCatalogueOrderWithoutTheDummy();
    void eachStoredCropValueHasItsOwnCell_data();
    void eachStoredCropValueHasItsOwnCell();
    void everyCropOfTheFileComesBackFromTheCsv();
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

void CsvExportTest::cellsThatASpreadsheetWouldCalculateAreMarked_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("written");
    QTest::newRow("equals") << "=1+1"
                            << "\"'=1+1\"";
    QTest::newRow("link") << "=HYPERLINK(\"http://example.org\",\"x\")"
                          << "\"'=HYPERLINK(\"\"http://example.org\"\",\"\"x\"\")\"";
    QTest::newRow("plus") << "+A1"
                          << "\"'+A1\"";
    QTest::newRow("minus") << "-A1+1"
                           << "\"'-A1+1\"";
    QTest::newRow("at") << "@SUM(A1)"
                        << "\"'@SUM(A1)\"";
    QTest::newRow("tab") << "\t=1"
                         << "\"'\t=1\"";
    QTest::newRow("CR") << "\r=1"
                        << "\"'\r=1\"";
    QTest::newRow("apostrophe, so the mark can come off") << "'=1"
                                                          << "\"''=1\"";
    QTest::newRow("negative number stays a number") << "-500"
                                                    << "-500";
    QTest::newRow("signed decimal stays a number") << "+1.5"
                                                   << "+1.5";
    QTest::newRow("number then text") << "-5円"
                                      << "\"'-5円\"";
    QTest::newRow("equals later") << "a=1"
                                  << "a=1";
    QTest::newRow("full-width equals") << "＝1+1"
                                       << "＝1+1";
    QTest::newRow("date") << "2014/5/3"
                          << "2014/5/3";
    QTest::newRow("empty") << ""
                           << "";
}

void CsvExportTest::cellsThatASpreadsheetWouldCalculateAreMarked() {
    QFETCH(QString, value);
    QFETCH(QString, written);
    QCOMPARE(csv::document({{value}}), kBom + (written + "\r\n").toUtf8());
    QCOMPARE(unguarded(csv::guarded(value)), value);
}

void CsvExportTest::purchaseNamesAndDatesNeverBecomeFormulas() {
    TCostList costs;
    addCost(costs, "2014", "5", {{"=1+1", "100"}, {"@A1", "-200"}});
    costs.add()->nen = "=2014";
    QCOMPARE(PurchasesCsv(costs.Filter("すべて", "すべて")).bytes,
             kBom + QStringLiteral("日付,購入内容,金額\r\n"
                                   "2014/5/3,\"'=1+1\",100\r\n"
                                   "2014/5/3,\"'@A1\",-200\r\n"
                                   "\"'=2014//\",,0\r\n")
                        .toUtf8());
}

void CsvExportTest::cropsInCatalogueOrderWithoutTheDummy() {
    TSakumotuList crops;
    crops.add()->name = kDummyCropName;
    TSakumotu* tomato = addCrop(crops, {"トマト", "ナス科", "", "桃太郎", "", "45", ""},
                                {{"3月", "4月"}, {"9月", ""}}, {"支柱を立てる", "", "わき芽, \"摘む\""});
    Q_UNUSED(tomato);
    crops.add()->name = "ナス";
    const CsvExport csv = CropsCsv(crops);
    QCOMPARE(csv.records, 2);
    QCOMPARE(csv.bytes,
             kBom + QStringLiteral("作物名,科目,お気に入り品種1,お気に入り品種2,条間(cm),株間1(cm),株間2(cm),"
                                   "時期1開始,時期1終了,時期2開始,時期2終了,時期3開始,時期3終了,"
                                   "時期4開始,時期4終了,時期5開始,時期5終了,栽培メモ\r\n"
                                   "トマト,ナス科,,桃太郎,,45,,3月,4月,9月,,,,,,,,"
                                   "\"支柱を立てる\n\nわき芽, \"\"摘む\"\"\"\r\n"
                                   "ナス,,,,,,,,,,,,,,,,,\r\n")
                        .toUtf8());
}

// Spacings the display text hides, and which variety is set, each in a cell of its own.
void CsvExportTest::eachStoredCropValueHasItsOwnCell_data() {
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("cells");
    QTest::newRow("row spacing the display leaves out")
        << QStringList{"トマト", "ナス科", "桃太郎", "", "60", "45", ""}
        << QStringList{"トマト", "ナス科", "桃太郎", "", "60", "45", ""};
    QTest::newRow("no first plant spacing") << QStringList{"ダイコン", "", "", "", "60", "", "30"}
                                            << QStringList{"ダイコン", "", "", "", "60", "", "30"};
    QTest::newRow("only the second variety") << QStringList{"ナス", "", "", "千両2号", "", "", ""}
                                             << QStringList{"ナス", "", "", "千両2号", "", "", ""};
    QTest::newRow("hand-edited spacing") << QStringList{"=1+1", "", "", "", "-5", "=A1", "0060"}
                                         << QStringList{"'=1+1", "", "", "", "-5", "'=A1", "0060"};
}

void CsvExportTest::eachStoredCropValueHasItsOwnCell() {
    QFETCH(QStringList, texts);
    QFETCH(QStringList, cells);
    TSakumotuList crops;
    addCrop(crops, texts, {}, {});
    const QList<QStringList> rows = readCsv(CropsCsv(crops).bytes);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].mid(0, 7), cells);
    // Plain digits are written bare, so a spreadsheet reads them as numbers.
    QVERIFY(!CropsCsv(crops).bytes.contains("\"60\""));
}

// Saved as the catalogue file, read back as the program reads it, exported,
// and every record rebuilt from the rows alone.
void CsvExportTest::everyCropOfTheFileComesBackFromTheCsv() {
    TSakumotuList written;
    addCrop(written, {"トマト", "ナス科ナス属", "桃太郎", "", "60", "45", ""}, {{"4月下旬", "5月上旬"}},
            {"支柱を立てる", "", "わき芽を摘む", ""});
    addCrop(written, {"ダイコン", "", "", "耐病総太り", "60", "", "30"},
            {{"3月", "4月"},
             {"", "5月"},
             {"6月", ""},
             {"7月", "8月"},
             {"8月下旬", "9月"},
             {"10月", ""},
             {"11月", "12月"}},
            {});
    addCrop(written, {"=HYPERLINK(\"http://example.org\",\"x\")", "+科", "-1", "@品種", "'", "\t45", "\r30"},
            {{"=3月", "'4月"}}, {"=1+1", "\ta,b", "\"引用\""});
    addCrop(written, {"①㈱～", "髙﨑", "a\nb", "c\r\nd", "0", "00", "-0"}, {}, {"", "", "x"});
    addCrop(written, {"", "", "", "", "", "", ""}, {{"", "終わりだけ"}}, {"", " "});
    store::RecordingSink sink;
    QTemporaryDir dir;
    QVERIFY(written.SaveToFile(dir.path() + '/', sink));
    TSakumotuList crops;
    QVERIFY(crops.LoadFromFile(dir.path() + '/', sink));
    QCOMPARE(sink.messages, QStringList());
    QCOMPARE(crops.count(), written.count());

    QStringList header;
    const QList<QStringList> rows = readCsv(CropsCsv(crops).bytes, &header);
    const int periods = 7;
    QCOMPARE(header.size(), 8 + 2 * periods);
    QCOMPARE(header[7 + 2 * 6], QStringLiteral("時期7開始"));
    QCOMPARE(header.last(), QStringLiteral("栽培メモ"));
    QCOMPARE(rows.size(), crops.count());
    for (int i = 0; i < crops.count(); ++i) {
        QCOMPARE(rows[i].size(), header.size());
        QCOMPARE(fields(*cropFromRow(rows[i], periods)), fields(*crops.at(i)));
    }
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
