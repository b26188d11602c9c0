#include "purchases/purchase_records.h"

#include <QLocale>
#include <QTest>

namespace {

TCost* addCost(TCostList& list, const QString& nen, const QString& tuki, const QString& hi,
               const QStringList& amounts = {}) {
    TCost* cost = list.add();
    cost->nen = nen;
    cost->tuki = tuki;
    cost->hi = hi;
    for (const QString& amount : amounts) {
        TSina* line = cost->sina.add();
        line->name = QStringLiteral("品") + amount;
        line->kingaku = amount;
    }
    return cost;
}

QStringList dates(const TCostRefList& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.at(i)->DateText();
    return texts;
}

QStringList dates(const TCostList& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.at(i)->DateText();
    return texts;
}

} // namespace

class PurchaseRecordsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }

    void moneyTextGroupsByThree_data();
    void moneyTextGroupsByThree();
    void moneyTextFollowsTheLocaleSeparator();
    void amountTextKeepsLeadingZerosOutOfSight();
    void linesTotalReadsLeadingZerosAndCountsOthersAsZero();
    void linesTotalOfNoLinesIsZero();
    void totalsDoNotWrapPastThirtyTwoBits();
    void totalsStopAtTheEndsOfTheRange();
    void lineCopyFromCopiesBothFields();
    void listCopyFromReplacesWithNewLines();
    void listCopyFromItselfKeepsTheLines();
    void dateTextJoinsWithSlashes();
    void namesTextJoinsWithIdeographicComma();
    void purchaseWithoutLinesHasEmptyNamesAndZeroTotal();
    void filterAllGivesEveryPurchaseInOrder();
    void filterByYearAndMonth();
    void filterComparesTextsExactly();
    void yearListIsDistinctInTextOrder();
    void yearListPutsNineHundredNinetyNineAfterTwoThousand();
    void yearListIgnoresCase();
    void monthListOfOneYear();
    void monthListIsInTextOrder();
    void monthListOfAllEntriesIsEmpty();
    void listTotalAddsEveryPurchase();
    void filteredListTotal();
    void dayListLength_data();
    void dayListLength();
    void dayListTextsCountFromOne();
    void compareByDateGivesTheDifference_data();
    void compareByDateGivesTheDifference();
    void sortPutsTheEarlierPurchaseFirst();
    void sortComparesNumbersNotTexts();
    void sortFollowsCompareByDateAndKeepsTies();
    void removeDestroysOnlyThatPurchase();
};

void PurchaseRecordsTest::moneyTextGroupsByThree_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::newRow("1500") << "1500"
                          << "1,500";
    QTest::newRow("leading zero") << "0500"
                                  << "500";
    QTest::newRow("empty") << ""
                           << "0";
    QTest::newRow("zero") << "0"
                          << "0";
    QTest::newRow("three digits") << "999"
                                  << "999";
    QTest::newRow("seven digits") << "1234567"
                                  << "1,234,567";
    QTest::newRow("negative") << "-1234567"
                              << "-1,234,567";
    QTest::newRow("not a number") << "abc"
                                  << "0";
    QTest::newRow("decimals") << "12.5"
                              << "0";
    QTest::newRow("three thousand million") << "3000000000"
                                            << "3,000,000,000";
    QTest::newRow("largest") << "9223372036854775807"
                             << "9,223,372,036,854,775,807";
    QTest::newRow("smallest") << "-9223372036854775808"
                              << "-9,223,372,036,854,775,808";
    QTest::newRow("too large") << "9223372036854775808"
                               << "0";
}

void PurchaseRecordsTest::moneyTextGroupsByThree() {
    QFETCH(QString, input);
    QFETCH(QString, output);
    QCOMPARE(MoneyText(input), output);
}

void PurchaseRecordsTest::moneyTextFollowsTheLocaleSeparator() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString german = MoneyText(QStringLiteral("1234567"));
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    QCOMPARE(german, QStringLiteral("1.234.567"));
    QCOMPARE(MoneyText(qint64(1234567)), QStringLiteral("1,234,567"));
}

void PurchaseRecordsTest::amountTextKeepsLeadingZerosOutOfSight() {
    TSina line;
    line.kingaku = QStringLiteral("0500");
    QCOMPARE(line.AmountText(), QStringLiteral("500円"));
    line.kingaku = QStringLiteral("1500");
    QCOMPARE(line.AmountText(), QStringLiteral("1,500円"));
    QCOMPARE(line.kingaku, QStringLiteral("1500"));
}

void PurchaseRecordsTest::linesTotalReadsLeadingZerosAndCountsOthersAsZero() {
    TCostList list;
    TCost* cost = addCost(list, "2014", "5", "3", {"0500", "1200", "abc", ""});
    QCOMPARE(cost->sina.LinesTotal(), qint64(1700));
}

void PurchaseRecordsTest::linesTotalOfNoLinesIsZero() {
    TSinaList lines;
    QCOMPARE(lines.LinesTotal(), qint64(0));
}

void PurchaseRecordsTest::totalsDoNotWrapPastThirtyTwoBits() {
    TCostList list;
    TCost* big = addCost(list, "2014", "5", "3", {"3000000000", "2147483647"});
    addCost(list, "2014", "6", "1", {"999999999999"});
    QCOMPARE(big->sina.LinesTotal(), qint64(5147483647));
    QCOMPARE(list.ListTotal(), qint64(1005147483646));
    QCOMPARE(list.Filter(kCostAllEntries, kCostAllEntries).ListTotal(), qint64(1005147483646));
    QCOMPARE(MoneyText(list.ListTotal()), QStringLiteral("1,005,147,483,646"));
}

void PurchaseRecordsTest::totalsStopAtTheEndsOfTheRange() {
    TCostList list;
    addCost(list, "2014", "5", "3", {"9223372036854775807", "1"});
    addCost(list, "2014", "5", "4", {"9223372036854775807"});
    QCOMPARE(list.at(0)->sina.LinesTotal(), std::numeric_limits<qint64>::max());
    QCOMPARE(list.ListTotal(), std::numeric_limits<qint64>::max());
    addCost(list, "2014", "5", "5", {"-9223372036854775808", "-1"});
    QCOMPARE(list.at(2)->sina.LinesTotal(), std::numeric_limits<qint64>::min());
}

void PurchaseRecordsTest::lineCopyFromCopiesBothFields() {
    TSina source;
    source.name = QStringLiteral("苗");
    source.kingaku = QStringLiteral("0300");
    TSina target;
    target.CopyFrom(source);
    QCOMPARE(target.name, QStringLiteral("苗"));
    QCOMPARE(target.kingaku, QStringLiteral("0300"));
}

void PurchaseRecordsTest::listCopyFromReplacesWithNewLines() {
    TCostList list;
    TCost* source = addCost(list, "2014", "5", "3", {"300", "1200"});
    TCost* target = addCost(list, "2014", "5", "4", {"1", "2", "3"});
    target->sina.CopyFrom(source->sina);
    QCOMPARE(target->sina.count(), 2);
    QCOMPARE(target->sina.at(0)->kingaku, QStringLiteral("300"));
    QCOMPARE(target->sina.at(1)->name, QStringLiteral("品1200"));
    QVERIFY(target->sina.at(0) != source->sina.at(0));
    target->sina.at(0)->kingaku = QStringLiteral("999");
    QCOMPARE(source->sina.at(0)->kingaku, QStringLiteral("300"));
    QCOMPARE(source->sina.count(), 2);
}

void PurchaseRecordsTest::listCopyFromItselfKeepsTheLines() {
    TCostList list;
    TCost* cost = addCost(list, "2014", "5", "3", {"300", "1200"});
    cost->sina.CopyFrom(cost->sina);
    QCOMPARE(cost->sina.count(), 2);
    QCOMPARE(cost->sina.LinesTotal(), qint64(1500));
}

void PurchaseRecordsTest::dateTextJoinsWithSlashes() {
    TCostList list;
    QCOMPARE(addCost(list, "2014", "5", "3")->DateText(), QStringLiteral("2014/5/3"));
    QCOMPARE(addCost(list, "", "", "")->DateText(), QStringLiteral("//"));
}

void PurchaseRecordsTest::namesTextJoinsWithIdeographicComma() {
    TCost cost;
    cost.sina.add()->name = QStringLiteral("苗");
    QCOMPARE(cost.NamesText(), QStringLiteral("苗"));
    cost.sina.add()->name = QStringLiteral("堆肥");
    cost.sina.add()->name = QStringLiteral("支柱");
    QCOMPARE(cost.NamesText(), QStringLiteral("苗、堆肥、支柱"));
}

void PurchaseRecordsTest::purchaseWithoutLinesHasEmptyNamesAndZeroTotal() {
    TCost cost;
    QCOMPARE(cost.NamesText(), QString());
    QCOMPARE(cost.sina.LinesTotal(), qint64(0));
}

void PurchaseRecordsTest::filterAllGivesEveryPurchaseInOrder() {
    TCostList list;
    addCost(list, "2013", "12", "1");
    addCost(list, "2014", "1", "5");
    addCost(list, "2014", "3", "2");
    const TCostRefList all = list.Filter(kCostAllEntries, kCostAllEntries);
    QCOMPARE(dates(all), QStringList({"2013/12/1", "2014/1/5", "2014/3/2"}));
    for (int i = 0; i < all.count(); ++i)
        QCOMPARE(all.at(i), list.at(i));
}

void PurchaseRecordsTest::filterByYearAndMonth() {
    TCostList list;
    addCost(list, "2013", "3", "1");
    addCost(list, "2014", "1", "5");
    addCost(list, "2014", "3", "2");
    addCost(list, "2014", "3", "9");
    QCOMPARE(dates(list.Filter("2014", kCostAllEntries)), QStringList({"2014/1/5", "2014/3/2", "2014/3/9"}));
    QCOMPARE(dates(list.Filter("2014", "3")), QStringList({"2014/3/2", "2014/3/9"}));
    QCOMPARE(dates(list.Filter(kCostAllEntries, "3")), QStringList({"2013/3/1", "2014/3/2", "2014/3/9"}));
    QCOMPARE(list.Filter("2015", kCostAllEntries).count(), 0);
}

void PurchaseRecordsTest::filterComparesTextsExactly() {
    TCostList list;
    addCost(list, "2014", "03", "1");
    addCost(list, "2014", "3", "2");
    QCOMPARE(dates(list.Filter("2014", "3")), QStringList({"2014/3/2"}));
    QCOMPARE(list.Filter("02014", kCostAllEntries).count(), 0);
}

void PurchaseRecordsTest::yearListIsDistinctInTextOrder() {
    TCostList list;
    addCost(list, "2013", "12", "1");
    addCost(list, "2014", "1", "5");
    addCost(list, "2014", "3", "2");
    QCOMPARE(list.YearList(), QStringList({"2013", "2014"}));
}

void PurchaseRecordsTest::yearListPutsNineHundredNinetyNineAfterTwoThousand() {
    TCostList list;
    addCost(list, "999", "1", "1");
    addCost(list, "2014", "1", "5");
    addCost(list, "10000", "1", "5");
    QCOMPARE(list.YearList(), QStringList({"10000", "2014", "999"}));
}

void PurchaseRecordsTest::yearListIgnoresCase() {
    TCostList list;
    addCost(list, "b", "1", "1");
    addCost(list, "A", "1", "1");
    addCost(list, "a", "1", "1");
    addCost(list, "B", "1", "1");
    QCOMPARE(list.YearList(), QStringList({"A", "b"}));
}

void PurchaseRecordsTest::monthListOfOneYear() {
    TCostList list;
    addCost(list, "2013", "12", "1");
    addCost(list, "2014", "1", "5");
    addCost(list, "2014", "3", "2");
    addCost(list, "2014", "3", "7");
    QCOMPARE(list.MonthList("2014"), QStringList({"1", "3"}));
    QCOMPARE(list.MonthList("2013"), QStringList({"12"}));
    QCOMPARE(list.MonthList("2015"), QStringList());
}

void PurchaseRecordsTest::monthListIsInTextOrder() {
    TCostList list;
    addCost(list, "2014", "1", "5");
    addCost(list, "2014", "2", "5");
    addCost(list, "2014", "10", "5");
    addCost(list, "2014", "12", "5");
    QCOMPARE(list.MonthList("2014"), QStringList({"1", "10", "12", "2"}));
}

void PurchaseRecordsTest::monthListOfAllEntriesIsEmpty() {
    TCostList list;
    addCost(list, "2014", "1", "5");
    QCOMPARE(list.MonthList(kCostAllEntries), QStringList());
}

void PurchaseRecordsTest::listTotalAddsEveryPurchase() {
    TCostList list;
    QCOMPARE(list.ListTotal(), qint64(0));
    addCost(list, "2014", "1", "5", {"300", "1200"});
    addCost(list, "2014", "2", "5");
    addCost(list, "2014", "3", "5", {"0500"});
    QCOMPARE(list.ListTotal(), qint64(2000));
}

void PurchaseRecordsTest::filteredListTotal() {
    TCostList list;
    addCost(list, "2013", "1", "5", {"10000"});
    addCost(list, "2014", "1", "5", {"300", "1200"});
    addCost(list, "2014", "3", "5", {"1950"});
    QCOMPARE(list.Filter("2014", kCostAllEntries).ListTotal(), qint64(3450));
    QCOMPARE(list.Filter("2014", "3").ListTotal(), qint64(1950));
    QCOMPARE(list.Filter("2015", kCostAllEntries).ListTotal(), qint64(0));
    QCOMPARE(kCostTotalPrefix + MoneyText(list.Filter("2014", kCostAllEntries).ListTotal()) + kCostYenSuffix,
             QStringLiteral("合計 3,450円"));
}

void PurchaseRecordsTest::dayListLength_data() {
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("month");
    QTest::addColumn<int>("days");
    QTest::newRow("2012/2 leap") << "2012"
                                 << "2" << 29;
    QTest::newRow("1900/2 century") << "1900"
                                    << "2" << 28;
    QTest::newRow("2000/2 four centuries") << "2000"
                                           << "2" << 29;
    QTest::newRow("2013/2") << "2013"
                            << "2" << 28;
    QTest::newRow("2014/4") << "2014"
                            << "4" << 30;
    QTest::newRow("2014/1") << "2014"
                            << "1" << 31;
    QTest::newRow("2014/12") << "2014"
                             << "12" << 31;
    QTest::newRow("empty year") << ""
                                << "2" << 0;
    QTest::newRow("empty month") << "2014"
                                 << "" << 0;
    QTest::newRow("both empty") << ""
                                << "" << 0;
    QTest::newRow("year not a number") << "20x4"
                                       << "2" << 0;
    QTest::newRow("year past 64 bits") << "99999999999999999999"
                                       << "2" << 0;
    QTest::newRow("year past 32 bits") << "4000000000"
                                       << "2" << 29;
    QTest::newRow("month 0") << "2014"
                             << "0" << 0;
    QTest::newRow("month 13") << "2014"
                              << "13" << 0;
}

void PurchaseRecordsTest::dayListLength() {
    QFETCH(QString, year);
    QFETCH(QString, month);
    QFETCH(int, days);
    QCOMPARE(DayList(year, month).size(), days);
}

void PurchaseRecordsTest::dayListTextsCountFromOne() {
    const QStringList days = DayList("2014", "4");
    QCOMPARE(days.first(), QStringLiteral("1"));
    QCOMPARE(days.at(8), QStringLiteral("9"));
    QCOMPARE(days.last(), QStringLiteral("30"));
}

void PurchaseRecordsTest::compareByDateGivesTheDifference_data() {
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<qint64>("result");
    QTest::newRow("years") << "2014/5/3"
                           << "2012/12/31" << qint64(2);
    QTest::newRow("months") << "2014/2/3"
                            << "2014/12/1" << qint64(-10);
    QTest::newRow("days") << "2014/5/30"
                          << "2014/5/3" << qint64(27);
    QTest::newRow("same date") << "2014/5/3"
                               << "2014/5/3" << qint64(0);
    QTest::newRow("leading zeros") << "2014/05/03"
                                   << "2014/5/3" << qint64(0);
    QTest::newRow("not a number counts as zero") << "x/1/1"
                                                 << "2014/1/1" << qint64(-2014);
}

void PurchaseRecordsTest::compareByDateGivesTheDifference() {
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(qint64, result);
    TCost first;
    TCost second;
    const QStringList pa = a.split('/');
    const QStringList pb = b.split('/');
    first.nen = pa[0], first.tuki = pa[1], first.hi = pa[2];
    second.nen = pb[0], second.tuki = pb[1], second.hi = pb[2];
    QCOMPARE(CompareByDate(first, second), result);
    QCOMPARE(CompareByDate(second, first), -result);
}

void PurchaseRecordsTest::sortPutsTheEarlierPurchaseFirst() {
    TCostList list;
    TCost* a = addCost(list, "2014", "5", "3", {"1"});
    TCost* b = addCost(list, "2014", "5", "3", {"2"});
    TCost* earlier = addCost(list, "2014", "4", "30", {"3"});
    list.SortByDate();
    QCOMPARE(list.at(0), earlier);
    QVERIFY((list.at(1) == a && list.at(2) == b) || (list.at(1) == b && list.at(2) == a));
}

void PurchaseRecordsTest::sortComparesNumbersNotTexts() {
    TCostList list;
    addCost(list, "2014", "10", "1");
    addCost(list, "2014", "2", "15");
    addCost(list, "999", "12", "31");
    addCost(list, "2014", "2", "3");
    list.SortByDate();
    QCOMPARE(dates(list), QStringList({"999/12/31", "2014/2/3", "2014/2/15", "2014/10/1"}));
}

// Every sort must agree with CompareByDate, the rule the rest of the program
// uses, also for the odd texts a hand-edited file can hold.
void PurchaseRecordsTest::sortFollowsCompareByDateAndKeepsTies() {
    const QStringList parts = {
        "", "x", "-5", "0", "02", "2", "12", "9223372036854775807", "-9223372036854775808"};
    TCostList list;
    QHash<const TCost*, int> added;
    for (int i = 0; i < 600; ++i) {
        const auto part = [&](int salt) { return parts.at((i * 7 + salt * i / 5 + salt) % parts.size()); };
        added.insert(addCost(list, part(1), part(3), part(11)), i);
    }
    list.SortByDate();
    QCOMPARE(list.count(), 600);
    for (int i = 1; i < list.count(); ++i) {
        const qint64 order = CompareByDate(*list.at(i - 1), *list.at(i));
        QVERIFY2(order < 0 || (order == 0 && added.value(list.at(i - 1)) < added.value(list.at(i))),
                 qPrintable(list.at(i - 1)->DateText() + " before " + list.at(i)->DateText()));
    }
}

void PurchaseRecordsTest::removeDestroysOnlyThatPurchase() {
    TCostList list;
    addCost(list, "2014", "1", "1");
    TCost* second = addCost(list, "2014", "1", "2");
    addCost(list, "2014", "1", "3");
    list.remove(0);
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.indexOf(second), 0);
    QCOMPARE(dates(list), QStringList({"2014/1/2", "2014/1/3"}));
}

QTEST_GUILESS_MAIN(PurchaseRecordsTest)
#include "purchase_records_test.moc"
