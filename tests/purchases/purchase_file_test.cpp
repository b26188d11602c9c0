#include "purchases/purchase_records.h"
#include "store/message_sink.h"
#include "store/messages.h"
#include "support/file_size_limit.h"
#include "support/files.h"
#include "support/messages.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

using testsupport::FileSizeLimit;
using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

const QByteArray kDeclaration = "<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\n";

TCost* addCost(TCostList& list, const QString& nen, const QString& tuki, const QString& hi) {
    TCost* cost = list.add();
    cost->nen = nen;
    cost->tuki = tuki;
    cost->hi = hi;
    return cost;
}

void addLine(TCost* cost, const QString& name, const QString& kingaku) {
    TSina* line = cost->sina.add();
    line->name = name;
    line->kingaku = kingaku;
}

} // namespace

class PurchaseFileTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }
    void init();

    void savesTheDocumentFlatInListOrder();
    void savesPurchaseWithoutLinesAsEmptyCost();
    void emptyListSavesEmptyData();
    void roundTripKeepsEveryText();
    void readsFileWrittenByHandInCodePage932();
    void readsNameAndAmountInEitherOrderAndIgnoresTheRest();
    void loadingClearsTheListFirst();
    void missingFileGivesEmptyListQuietly();
    void costWithoutDayStopsTheReading();
    void costWithoutYearStopsTheReading();
    void lineWithoutAmountLosesItsWholePurchase();
    void lineWithoutNameStopsTheReading();
    void unparsableFileLoadsEmptyWithTheMessage();
    void saveIntoMissingFolderFailsAndKeepsTheList();
    void saveWhereFolderIsAFileFails();
    void failedSaveKeepsTheOldFile();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
};

void PurchaseFileTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_folder = m_dir->path() + QLatin1Char('/');
}

void PurchaseFileTest::savesTheDocumentFlatInListOrder() {
    TCostList list;
    TCost* cost = addCost(list, "2014", "5", "3");
    addLine(cost, QStringLiteral("苗"), "300");
    addLine(cost, QStringLiteral("堆肥"), "1200");
    store::RecordingSink sink;
    QVERIFY(list.SaveToFile(m_folder, sink));
    QCOMPARE(sink.messages, QStringList());
    const QByteArray expected = kDeclaration +
                                "<data><cost nen=\"2014\" tuki=\"5\" hi=\"3\"><sina><name>\x95\x63</name>"
                                "<kingaku>300</kingaku></sina><sina><name>\x91\xcd\x94\xec</name>"
                                "<kingaku>1200</kingaku></sina></cost></data>\n";
    QCOMPARE(readBytes(m_folder + "cost.xml"), expected);
}

void PurchaseFileTest::savesPurchaseWithoutLinesAsEmptyCost() {
    TCostList list;
    addCost(list, "2014", "5", "3");
    store::RecordingSink sink;
    QVERIFY(list.SaveToFile(m_folder, sink));
    QCOMPARE(readBytes(m_folder + "cost.xml"),
             kDeclaration + "<data><cost nen=\"2014\" tuki=\"5\" hi=\"3\"/></data>\n");

    TCostList loaded;
    QVERIFY(loaded.LoadFromFile(m_folder, sink));
    QCOMPARE(loaded.count(), 1);
    QCOMPARE(loaded.at(0)->sina.count(), 0);
    QCOMPARE(loaded.at(0)->NamesText(), QString());
}

void PurchaseFileTest::emptyListSavesEmptyData() {
    TCostList list;
    store::RecordingSink sink;
    QVERIFY(list.SaveToFile(m_folder, sink));
    QCOMPARE(readBytes(m_folder + "cost.xml"), kDeclaration + "<data/>\n");
}

void PurchaseFileTest::roundTripKeepsEveryText() {
    TCostList list;
    TCost* first = addCost(list, "2014", "5", "3");
    addLine(first, QStringLiteral("苗 & <支柱> \"ネット\""), "0500");
    addLine(first, QStringLiteral("～①㈱－ é 🍅"), "");
    addCost(list, "2015", "12", "31");
    TCost* third = addCost(list, "", "", "");
    addLine(third, QString(), "3000000000");
    store::RecordingSink sink;
    QVERIFY(list.SaveToFile(m_folder, sink));

    TCostList loaded;
    QVERIFY(loaded.LoadFromFile(m_folder, sink));
    QCOMPARE(sink.messages, QStringList());
    QCOMPARE(loaded.count(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(loaded.at(i)->DateText(), list.at(i)->DateText());
        QCOMPARE(loaded.at(i)->sina.count(), list.at(i)->sina.count());
        for (int j = 0; j < list.at(i)->sina.count(); ++j) {
            QCOMPARE(loaded.at(i)->sina.at(j)->name, list.at(i)->sina.at(j)->name);
            QCOMPARE(loaded.at(i)->sina.at(j)->kingaku, list.at(i)->sina.at(j)->kingaku);
        }
    }
    QCOMPARE(loaded.at(0)->sina.at(0)->AmountText(), QStringLiteral("500円"));
    QCOMPARE(loaded.ListTotal(), qint64(3000000500));
}

void PurchaseFileTest::readsFileWrittenByHandInCodePage932() {
    writeBytes(m_folder + "cost.xml",
               "<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\r\n<data>\r\n"
               "  <cost nen=\"2014\" tuki=\"5\" hi=\"3\">\r\n"
               "    <sina><name>\x95\x63\x81\x60</name><kingaku>0500</kingaku></sina>\r\n"
               "  </cost>\r\n</data>\r\n");
    TCostList list;
    store::RecordingSink sink;
    QVERIFY(list.LoadFromFile(m_folder, sink));
    QCOMPARE(sink.messages, QStringList());
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.at(0)->DateText(), QStringLiteral("2014/5/3"));
    QCOMPARE(list.at(0)->sina.count(), 1);
    QCOMPARE(list.at(0)->sina.at(0)->name, QStringLiteral("苗～"));
    QCOMPARE(list.at(0)->sina.at(0)->kingaku, QStringLiteral("0500"));
    QCOMPARE(list.at(0)->sina.LinesTotal(), qint64(500));
}

void PurchaseFileTest::readsNameAndAmountInEitherOrderAndIgnoresTheRest() {
    writeBytes(m_folder + "cost.xml",
               kDeclaration + "<data><note>x</note><cost extra=\"1\" hi=\"3\" tuki=\"5\" nen=\"2014\"><memo/>"
                              "<sina><kingaku>300</kingaku><other/><name>a</name></sina></cost>"
                              "<other><cost nen=\"1\" tuki=\"1\" hi=\"1\"/></other></data>");
    TCostList list;
    store::RecordingSink sink;
    QVERIFY(list.LoadFromFile(m_folder, sink));
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.at(0)->DateText(), QStringLiteral("2014/5/3"));
    QCOMPARE(list.at(0)->sina.at(0)->name, QStringLiteral("a"));
    QCOMPARE(list.at(0)->sina.at(0)->kingaku, QStringLiteral("300"));
}

void PurchaseFileTest::loadingClearsTheListFirst() {
    TCostList list;
    addCost(list, "2000", "1", "1");
    store::RecordingSink sink;
    QVERIFY(list.LoadFromFile(m_folder, sink));
    QCOMPARE(list.count(), 0);
}

void PurchaseFileTest::missingFileGivesEmptyListQuietly() {
    TCostList list;
    store::RecordingSink sink;
    QVERIFY(list.LoadFromFile(m_folder, sink));
    QVERIFY(list.LoadFromFile(m_folder + "no-such-folder/", sink));
    QCOMPARE(list.count(), 0);
    QCOMPARE(sink.messages, QStringList());
}

void PurchaseFileTest::costWithoutDayStopsTheReading() {
    writeBytes(m_folder + "cost.xml",
               kDeclaration +
                   "<data><cost nen=\"2014\" tuki=\"5\" hi=\"3\"><sina><name>a</name><kingaku>1</kingaku>"
                   "</sina></cost><cost nen=\"2014\" tuki=\"6\"/>"
                   "<cost nen=\"2014\" tuki=\"7\" hi=\"1\"/></data>");
    TCostList list;
    store::RecordingSink sink;
    QVERIFY(!list.LoadFromFile(m_folder, sink));
    QCOMPARE(testsupport::firstLines(sink.messages), QStringList{QString::fromUtf8(msg::LoadFailedCost)});
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.at(0)->DateText(), QStringLiteral("2014/5/3"));
    QCOMPARE(list.at(0)->sina.count(), 1);
}

void PurchaseFileTest::costWithoutYearStopsTheReading() {
    writeBytes(m_folder + "cost.xml",
               kDeclaration +
                   "<data><cost tuki=\"6\" hi=\"1\"/><cost nen=\"1\" tuki=\"1\" hi=\"1\"/></data>");
    TCostList list;
    store::RecordingSink sink;
    QVERIFY(!list.LoadFromFile(m_folder, sink));
    QCOMPARE(testsupport::firstLines(sink.messages),
             QStringList{QStringLiteral("データの読み込みに失敗しました（cost）。")});
    QCOMPARE(list.count(), 0);
}

void PurchaseFileTest::lineWithoutAmountLosesItsWholePurchase() {
    writeBytes(m_folder + "cost.xml",
               kDeclaration +
                   "<data><cost nen=\"2014\" tuki=\"5\" hi=\"3\"/>"
                   "<cost nen=\"2014\" tuki=\"6\" hi=\"1\"><sina><name>a</name><kingaku>1</kingaku></sina>"
                   "<sina><name>b</name></sina></cost></data>");
    TCostList list;
    store::RecordingSink sink;
    QVERIFY(!list.LoadFromFile(m_folder, sink));
    QCOMPARE(sink.messages.size(), 1);
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.at(0)->DateText(), QStringLiteral("2014/5/3"));
}

void PurchaseFileTest::lineWithoutNameStopsTheReading() {
    writeBytes(
        m_folder + "cost.xml",
        kDeclaration +
            "<data><cost nen=\"2014\" tuki=\"5\" hi=\"3\"><sina><kingaku>1</kingaku></sina></cost></data>");
    TCostList list;
    store::RecordingSink sink;
    QVERIFY(!list.LoadFromFile(m_folder, sink));
    QCOMPARE(testsupport::firstLines(sink.messages), QStringList{QString::fromUtf8(msg::LoadFailedCost)});
    QCOMPARE(list.count(), 0);
}

void PurchaseFileTest::unparsableFileLoadsEmptyWithTheMessage() {
    QVERIFY(writeBytes(m_folder + "cost.xml",
                       kDeclaration + "<data><cost nen=\"2014\" tuki=\"5\" hi=\"3\"></data>"));
    TCostList list;
    addCost(list, "2000", "1", "1");
    store::RecordingSink sink;
    QVERIFY(!list.LoadFromFile(m_folder, sink));
    QCOMPARE(list.count(), 0);
    QCOMPARE(testsupport::firstLines(sink.messages), QStringList{QString::fromUtf8(msg::LoadFailedCost)});
}

void PurchaseFileTest::saveIntoMissingFolderFailsAndKeepsTheList() {
    TCostList list;
    addLine(addCost(list, "2014", "5", "3"), "a", "100");
    store::RecordingSink sink;
    QVERIFY(!list.SaveToFile(m_folder + "missing/", sink));
    QCOMPARE(sink.messages, QStringList{QStringLiteral("データの保存に失敗しました（cost）。")});
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.at(0)->sina.count(), 1);
    QVERIFY(!QFile::exists(m_folder + "missing"));
}

void PurchaseFileTest::saveWhereFolderIsAFileFails() {
    QVERIFY(writeBytes(m_folder + "plain", "x"));
    TCostList list;
    addCost(list, "2014", "5", "3");
    store::RecordingSink sink;
    QVERIFY(!list.SaveToFile(m_folder + "plain/", sink));
    QCOMPARE(sink.messages, QStringList{QString::fromUtf8(msg::SaveFailedCost)});
    QCOMPARE(readBytes(m_folder + "plain"), QByteArray("x"));
}

void PurchaseFileTest::failedSaveKeepsTheOldFile() {
    TCostList list;
    addLine(addCost(list, "2014", "5", "3"), "a", "100");
    store::RecordingSink sink;
    QVERIFY(list.SaveToFile(m_folder, sink));
    const QByteArray old = readBytes(m_folder + "cost.xml");
    for (int i = 0; i < 200; ++i)
        addLine(addCost(list, "2015", "1", QString::number(i % 28 + 1)), QStringLiteral("堆肥"), "1200");

    // The disk fills up half way through the write.
    {
        FileSizeLimit limit(1024);
        QVERIFY(!list.SaveToFile(m_folder, sink));
    }
    QCOMPARE(sink.messages, QStringList{QString::fromUtf8(msg::SaveFailedCost) +
                                        QStringLiteral("\nファイルが大きすぎて書き込めません。")});
    QCOMPARE(readBytes(m_folder + "cost.xml"), old);
    QCOMPARE(list.count(), 201);
    QCOMPARE(QDir(m_folder).entryList(QDir::Files), QStringList{"cost.xml"});
}

QTEST_GUILESS_MAIN(PurchaseFileTest)
#include "purchase_file_test.moc"
