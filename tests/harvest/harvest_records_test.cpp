#include "exports/export_commands.h"
#include "exports/harvest_csv.h"
#include "harvest/harvest_book.h"
#include "harvest/harvest_files.h"
#include "harvest/this_day.h"
#include "harvest/yield_totals.h"
#include "purchases/purchase_records.h"
#include "store/message_sink.h"
#include "support/files.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

const QByteArray kDeclaration = "<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\n";

TShukaku* addHarvest(TShukakuList& list, const QDate& date, const QString& crop, const QString& ryou,
                     const QString& tani) {
    TShukaku* h = list.add();
    h->date = date;
    h->crop = crop;
    h->ryou = ryou;
    h->tani = tani;
    return h;
}

} // namespace

// The harvest log and the diary: their files, their sums and the days they recall.
class HarvestRecordsTest : public QObject {
    Q_OBJECT

private slots:
    void init();

    void readsAmounts_data();
    void readsAmounts();
    void readsHarvestsWrittenByHandInCodePage932();
    void writesTheBytesOfBothFiles();
    void refusesRecordsThatBreakTheReading_data();
    void refusesRecordsThatBreakTheReading();
    void saveIntoMissingFolderFailsWithItsMessage();
    void totalsNeverAddDifferentUnits();
    void yenPerKgUsesTheLedgerLinesNamingTheCrop();
    void sameDaysOfEarlierYears_data();
    void sameDaysOfEarlierYears();
    void photoNamesMustHaveTheProgramsForm_data();
    void photoNamesMustHaveTheProgramsForm();
    void taskLineIsADatedDiaryEntry();
    void csvExportsKeepEveryText();
    void commandsWriteTheHeaderWhenNoFileYet();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
};

void HarvestRecordsTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_folder = m_dir->path() + QLatin1Char('/');
}

void HarvestRecordsTest::readsAmounts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("thousandths"); // -1: refused
    QTest::newRow("whole") << "12" << qint64(12000);
    QTest::newRow("kg decimals") << "1.5" << qint64(1500);
    QTest::newRow("three decimals") << "0.125" << qint64(125);
    QTest::newRow("four decimals") << "0.1255" << qint64(-1);
    QTest::newRow("full width") << QStringLiteral("２．５") << qint64(2500);
    QTest::newRow("spaces around") << " 3 " << qint64(3000);
    QTest::newRow("negative") << "-1" << qint64(-1);
    QTest::newRow("comma") << "1,5" << qint64(-1);
    QTest::newRow("empty") << "" << qint64(-1);
    QTest::newRow("point alone") << "." << qint64(-1);
    QTest::newRow("trailing point") << "2." << qint64(-1);
}

void HarvestRecordsTest::readsAmounts() {
    QFETCH(QString, text);
    QFETCH(qint64, thousandths);
    const std::optional<qint64> amount = ParseAmount(text);
    QCOMPARE(amount.value_or(-1), thousandths);
    if (amount)
        QCOMPARE(ParseAmount(AmountText(*amount)).value_or(-1), thousandths);
}

void HarvestRecordsTest::readsHarvestsWrittenByHandInCodePage932() {
    writeBytes(m_folder + kShukakuFileName,
               kDeclaration +
                   "<data>\r\n  <shukaku hi=\"2025-07-14\"><crop>\x83\x4c\x83\x85\x83\x45\x83\x8a</crop>"
                   "<hatake>\x93\x8c\x82\xcc\x94\xa8</hatake><ryou>12</ryou><tani>\x96\x7b</tani>"
                   "<note/></shukaku>\r\n"
                   "  <shukaku hi=\"2024-07-01\"><crop>a</crop><hatake/><ryou>0.5</ryou><tani>kg</tani>"
                   "</shukaku>\r\n</data>\r\n");
    THarvestBook book;
    store::RecordingSink sink;
    book.LoadShukaku(m_folder, sink);
    QCOMPARE(sink.messages, QStringList());
    QCOMPARE(book.shukaku.count(), 2);
    // Sorted oldest first, and a record without a note reads as one with an empty note.
    QCOMPARE(book.shukaku.at(0)->AmountWithUnit(), QStringLiteral("0.5 kg"));
    const TShukaku* h = book.shukaku.at(1);
    QCOMPARE(h->date, QDate(2025, 7, 14));
    QCOMPARE(h->crop, QStringLiteral("キュウリ"));
    QCOMPARE(h->hatake, QStringLiteral("東の畑"));
    QCOMPARE(h->AmountWithUnit(), QStringLiteral("12 本"));
    QCOMPARE(book.shukaku.YearList(), QStringList({"2024", "2025"}));
    QCOMPARE(book.shukaku.MonthList("2025"), QStringList({"7"}));
}

void HarvestRecordsTest::writesTheBytesOfBothFiles() {
    THarvestBook book;
    TShukaku* h =
        addHarvest(book.shukaku, QDate(2025, 7, 14), QStringLiteral("キュウリ"), "12", QStringLiteral("本"));
    h->note = "a&b";
    TNikki* e = book.nikki.add();
    e->date = QDate(2025, 7, 15);
    e->kind = kNikkiTaskKind;
    e->text = QStringLiteral("水やり\n<朝>");
    e->photos << "photos/2025/20250715-080000-1.jpg";
    store::RecordingSink sink;
    QVERIFY(book.shukaku.SaveToFile(m_folder, sink));
    QVERIFY(book.nikki.SaveToFile(m_folder, sink));
    QCOMPARE(readBytes(m_folder + kShukakuFileName),
             kDeclaration +
                 "<data><shukaku hi=\"2025-07-14\"><crop>\x83\x4c\x83\x85\x83\x45\x83\x8a</crop>"
                 "<hatake/><ryou>12</ryou><tani>\x96\x7b</tani><note>a&amp;b</note></shukaku></data>\n");
    QCOMPARE(readBytes(m_folder + kNikkiFileName),
             kDeclaration + "<data><nikki hi=\"2025-07-15\" kind=\"\x8d\xec\x8b\xc6\x8b\x4c\x98\x5e\">"
                            "<text>\x90\x85\x82\xe2\x82\xe8\n&lt;\x92\xa9&gt;</text><crop/><hatake/>"
                            "<photo>photos/2025/20250715-080000-1.jpg</photo></nikki></data>\n");
    THarvestBook again;
    again.LoadNikki(m_folder, sink);
    QCOMPARE(sink.messages, QStringList());
    QCOMPARE(again.nikki.count(), 1);
    QCOMPARE(again.nikki.at(0)->text, e->text);
    QCOMPARE(again.nikki.at(0)->kind, kNikkiTaskKind);
    QCOMPARE(again.nikki.at(0)->photos, e->photos);
}

void HarvestRecordsTest::refusesRecordsThatBreakTheReading_data() {
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("no date") << QByteArray(
        "<shukaku><crop>a</crop><hatake/><ryou>1</ryou><tani>g</tani></shukaku>");
    QTest::newRow("no such day") << QByteArray(
        "<shukaku hi=\"2025-02-29\"><crop>a</crop><hatake/><ryou>1</ryou><tani>g</tani></shukaku>");
    QTest::newRow("not a date") << QByteArray(
        "<shukaku hi=\"../../etc\"><crop>a</crop><hatake/><ryou>1</ryou><tani>g</tani></shukaku>");
    QTest::newRow("no unit") << QByteArray(
        "<shukaku hi=\"2025-02-28\"><crop>a</crop><hatake/><ryou>1</ryou></shukaku>");
    QTest::newRow("external entity") << QByteArray("<shukaku hi=\"2025-02-28\"><crop>&x;</crop></shukaku>");
}

// The records read before the break stay; the message names the file.
void HarvestRecordsTest::refusesRecordsThatBreakTheReading() {
    QFETCH(QByteArray, body);
    const QByteArray good =
        "<shukaku hi=\"2025-01-01\"><crop>ok</crop><hatake/><ryou>1</ryou><tani>g</tani></shukaku>";
    QVERIFY(writeBytes(m_folder + kShukakuFileName, kDeclaration + "<data>" + good + body + "</data>"));
    THarvestBook book;
    store::RecordingSink sink;
    book.LoadShukaku(m_folder, sink);
    QCOMPARE(sink.messages.size(), 1);
    QVERIFY(sink.messages[0].startsWith(QString::fromUtf8(LoadFailedShukaku)));
    QVERIFY(book.shukaku.count() <= 1);
}

void HarvestRecordsTest::saveIntoMissingFolderFailsWithItsMessage() {
    TNikkiList list;
    list.add()->date = QDate(2025, 1, 1);
    store::RecordingSink sink;
    QVERIFY(!list.SaveToFile(m_folder + "missing/", sink));
    QCOMPARE(sink.messages.size(), 1);
    QVERIFY(sink.messages[0].startsWith(QString::fromUtf8(SaveFailedNikki)));
    QVERIFY(!QDir(m_folder + "missing").exists());
}

void HarvestRecordsTest::totalsNeverAddDifferentUnits() {
    TShukakuList list;
    addHarvest(list, QDate(2024, 7, 1), "tomato", "0.5", "kg");
    addHarvest(list, QDate(2024, 7, 2), "tomato", "3", QStringLiteral("個"));
    addHarvest(list, QDate(2024, 7, 3), "tomato", "0.25", "kg");
    addHarvest(list, QDate(2024, 7, 4), "tomato", "300", "g");
    addHarvest(list, QDate(2025, 7, 1), "tomato", "1.1", "kg");
    addHarvest(list, QDate(2025, 8, 1), "bean", "0.2", "kg");
    const QList<YieldTotal> totals = YieldTotals(list);
    QStringList lines;
    for (const YieldTotal& t : totals)
        lines << QStringLiteral("%1 %2 %3 %4 x%5")
                     .arg(t.crop)
                     .arg(t.year)
                     .arg(AmountText(t.amount), t.unit)
                     .arg(t.harvests);
    QCOMPARE(lines, QStringList({"tomato 2024 300 g x1", "tomato 2024 0.75 kg x2",
                                 QStringLiteral("tomato 2024 3 個 x1"), "tomato 2025 1.1 kg x1",
                                 "bean 2025 0.2 kg x1"}));
    QCOMPARE(UnitTotalsText(list.Filter("2024", kHarvestAllEntries)), QStringLiteral("0.75 kg・3 個・300 g"));
    const YieldChart chart = YieldByYear(totals);
    QCOMPARE(chart.firstYear, 2024);
    QCOMPARE(chart.series.size(), 4);
    QCOMPARE(chart.series[1].unit, QStringLiteral("kg"));
    QCOMPARE(chart.series[1].amounts, QList<qint64>({750, 1100}));
    QCOMPARE(chart.series[3].amounts, QList<qint64>({0, 200}));
}

void HarvestRecordsTest::yenPerKgUsesTheLedgerLinesNamingTheCrop() {
    TCostList costs;
    TCost* cost = costs.add();
    cost->nen = "2024";
    cost->tuki = "4";
    cost->hi = "1";
    for (const auto& [name, yen] : {std::pair{QStringLiteral("トマトの苗"), "600"},
                                    {QStringLiteral("肥料"), "900"},
                                    {QStringLiteral("ミニトマト 種"), "300"}}) {
        TSina* line = cost->sina.add();
        line->name = name;
        line->kingaku = QString::fromLatin1(yen);
    }
    TShukakuList list;
    addHarvest(list, QDate(2024, 7, 1), QStringLiteral("トマト"), "1.5", "kg");
    addHarvest(list, QDate(2024, 7, 2), QStringLiteral("トマト"), "500", "g");
    addHarvest(list, QDate(2024, 7, 3), QStringLiteral("トマト"), "4", QStringLiteral("個"));
    addHarvest(list, QDate(2025, 7, 3), QStringLiteral("トマト"), "1", "kg");
    QList<YieldTotal> totals = YieldTotals(list);
    AddYenPerKg(totals, costs);
    // 900 yen over 2 kg; pieces get none; 2025 has no ledger line.
    QCOMPARE(totals.size(), 4);
    QCOMPARE(totals[0].unit, QStringLiteral("g"));
    QCOMPARE(totals[0].yenPerKg.value_or(-1), qint64(450));
    QCOMPARE(totals[1].yenPerKg.value_or(-1), qint64(450));
    QVERIFY(!totals[2].yenPerKg);
    QVERIFY(!totals[3].yenPerKg);
}

void HarvestRecordsTest::sameDaysOfEarlierYears_data() {
    QTest::addColumn<QDate>("around");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<bool>("recalled");
    QTest::newRow("a year back") << QDate(2026, 6, 10) << QDate(2025, 6, 10) << true;
    QTest::newRow("seven days after") << QDate(2026, 6, 10) << QDate(2025, 6, 17) << true;
    QTest::newRow("eight days after") << QDate(2026, 6, 10) << QDate(2025, 6, 18) << false;
    QTest::newRow("seven days before") << QDate(2026, 6, 10) << QDate(2023, 6, 3) << true;
    QTest::newRow("this year") << QDate(2026, 6, 10) << QDate(2026, 6, 9) << false;
    QTest::newRow("later year") << QDate(2026, 6, 10) << QDate(2027, 6, 10) << false;
    QTest::newRow("year end back") << QDate(2026, 1, 3) << QDate(2024, 12, 28) << true;
    QTest::newRow("last week is no earlier year") << QDate(2026, 1, 3) << QDate(2025, 12, 28) << false;
    QTest::newRow("year end forward") << QDate(2025, 12, 30) << QDate(2025, 1, 4) << true;
    QTest::newRow("29 Feb seen from a common year") << QDate(2025, 3, 1) << QDate(2024, 2, 29) << true;
    QTest::newRow("29 Feb recalls 28 Feb") << QDate(2024, 2, 29) << QDate(2023, 2, 21) << true;
    QTest::newRow("29 Feb not 8 days before 28 Feb") << QDate(2024, 2, 29) << QDate(2023, 2, 20) << false;
    QTest::newRow("29 Feb four years back") << QDate(2024, 2, 29) << QDate(2020, 2, 29) << true;
}

void HarvestRecordsTest::sameDaysOfEarlierYears() {
    QFETCH(QDate, around);
    QFETCH(QDate, date);
    QFETCH(bool, recalled);
    QCOMPARE(IsSameDaysInEarlierYear(date, around), recalled);
    THarvestBook book;
    addHarvest(book.shukaku, date, "a", "1", "g");
    book.nikki.add()->date = date;
    const ThisDay found = ThisDayInEarlierYears(book.shukaku, book.nikki, around);
    QCOMPARE(found.harvests.size(), size_t(recalled));
    QCOMPARE(found.entries.size(), size_t(recalled));
}

void HarvestRecordsTest::photoNamesMustHaveTheProgramsForm_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");
    QTest::newRow("written by us") << "photos/2025/20250714-081500-1.jpg" << true;
    QTest::newRow("parent") << "photos/2025/../../../etc/passwd.jpg" << false;
    QTest::newRow("absolute") << "/etc/x.jpg" << false;
    QTest::newRow("another folder") << "history/2025/a.jpg" << false;
    QTest::newRow("backslash") << "photos\\2025\\a.jpg" << false;
    QTest::newRow("not jpg") << "photos/2025/a.png" << false;
    QTest::newRow("line break") << "photos/2025/a.jpg\n" << false;
    QTest::newRow("empty") << "" << false;
}

void HarvestRecordsTest::photoNamesMustHaveTheProgramsForm() {
    QFETCH(QString, name);
    QFETCH(bool, safe);
    QCOMPARE(IsSafePhotoName(name), safe);
}

void HarvestRecordsTest::taskLineIsADatedDiaryEntry() {
    THarvestBook book;
    book.nikki.add()->date = QDate(2026, 12, 10);
    store::RecordingSink sink;
    const TNikki* line = book.AddTaskLine(QStringLiteral("トマトの支柱"), QDate(2026, 12, 9), m_folder, sink);
    QVERIFY(line);
    QCOMPARE(book.nikki.at(0), line);
    QCOMPARE(line->kind, kNikkiTaskKind);
    QCOMPARE(line->OneLine(), QStringLiteral("【作業記録】トマトの支柱 を完了"));
    THarvestBook again;
    again.LoadNikki(m_folder, sink);
    QCOMPARE(again.nikki.count(), 2);
    // A diary that cannot be written keeps no line that is not on disk.
    QVERIFY(!book.AddTaskLine("x", QDate(2026, 12, 9), m_folder + "missing/", sink));
    QCOMPARE(book.nikki.count(), 2);
    QCOMPARE(sink.messages.size(), 1);
}

void HarvestRecordsTest::csvExportsKeepEveryText() {
    THarvestBook book;
    TShukaku* h = addHarvest(book.shukaku, QDate(2025, 7, 4), "=cmd", QStringLiteral("１．５"), "kg");
    h->note = "a,b";
    TNikki* e = book.nikki.add();
    e->date = QDate(2025, 7, 5);
    e->text = "line1\nline2";
    e->photos << "photos/2025/a.jpg";
    const CsvExport harvests = HarvestsCsv(book.shukaku.Filter(kHarvestAllEntries, kHarvestAllEntries));
    QCOMPARE(harvests.records, 1);
    QCOMPARE(harvests.bytes,
             QByteArray("\xef\xbb\xbf") +
                 QStringLiteral("日付,作物,場所,収穫量,単位,メモ\r\n2025/07/04,\"'=cmd\",,1.5,kg,\"a,b\"\r\n")
                     .toUtf8());
    const CsvExport diary = DiaryCsv(book.nikki.Filter(kHarvestAllEntries, kHarvestAllEntries));
    QCOMPARE(diary.bytes,
             QByteArray("\xef\xbb\xbf") +
                 QStringLiteral(
                     "日付,種類,内容,作物,場所,写真\r\n2025/07/05,,\"line1\nline2\",,,photos/2025/a.jpg\r\n")
                     .toUtf8());
}

void HarvestRecordsTest::commandsWriteTheHeaderWhenNoFileYet() {
    QString outText, errText;
    QTextStream out(&outText), err(&errText);
    const QString target = m_dir->path() + "/out/";
    QVERIFY(QDir().mkpath(target));
    QCOMPARE(exportHarvestsCommand(m_folder, target + "h.csv", out, err), 0);
    QCOMPARE(exportDiaryCommand(m_folder, target + "d.csv", out, err), 0);
    QCOMPARE(readBytes(target + "h.csv"),
             QByteArray("\xef\xbb\xbf") + QStringLiteral("日付,作物,場所,収穫量,単位,メモ\r\n").toUtf8());
    QCOMPARE(readBytes(target + "d.csv"),
             QByteArray("\xef\xbb\xbf") + QStringLiteral("日付,種類,内容,作物,場所,写真\r\n").toUtf8());
    QCOMPARE(errText, QString());
    // An export never replaces a file of the notebook.
    QVERIFY(writeBytes(m_folder + kNikkiFileName, kDeclaration + "<data/>"));
    QCOMPARE(exportDiaryCommand(m_folder, m_folder + kNikkiFileName, out, err), 1);
    QCOMPARE(readBytes(m_folder + kNikkiFileName), kDeclaration + "<data/>");
}

QTEST_GUILESS_MAIN(HarvestRecordsTest)
#include "harvest_records_test.moc"
