#include "favourites/favourite_records.h"
#include "store/message_sink.h"
#include "store/messages.h"
#include "support/files.h"
#include "support/messages.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

const QByteArray kDeclaration = "<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\n";

TOkini* addOkini(TOkiniList& list, const QString& name, const QString& url, const QString& memo) {
    TOkini* okini = list.add();
    okini->name = name;
    okini->url = url;
    okini->memo = memo;
    return okini;
}

} // namespace

class FavouriteFileTest : public QObject {
    Q_OBJECT

private slots:
    void init();

    void emptyListSavesEmptyData();
    void savesAllThreeChildrenEvenWhenEmpty();
    void roundTripKeepsOrderAndEveryText();
    void readsFileWrittenByHandInCodePage932();
    void readsChildrenInAnyOrderAndIgnoresTheRest();
    void loadingAppendsToTheList();
    void missingFileLoadsNothingQuietly();
    void okiniWithoutMemoStopsTheReading();
    void okiniWithoutNameStopsTheReading();
    void unparsableFileLoadsNothingWithTheMessage();
    void saveIntoMissingFolderFailsAndKeepsTheList();
    void saveWhereFolderIsAFileFails();
    void removeDestroysOnlyThatFavourite();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
};

void FavouriteFileTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_folder = m_dir->path() + QLatin1Char('/');
}

void FavouriteFileTest::emptyListSavesEmptyData() {
    TOkiniList list;
    store::RecordingSink sink;
    QVERIFY(list.SaveToFile(m_folder, sink));
    QCOMPARE(readBytes(m_folder + "OkiniList.xml"), kDeclaration + "<data/>\n");
    QCOMPARE(sink.messages, QStringList());
}

void FavouriteFileTest::savesAllThreeChildrenEvenWhenEmpty() {
    TOkiniList list;
    addOkini(list, QStringLiteral("野菜の会"), "http://", "");
    store::RecordingSink sink;
    QVERIFY(list.SaveToFile(m_folder, sink));
    QCOMPARE(readBytes(m_folder + "OkiniList.xml"),
             kDeclaration +
                 "<data><okini><name>\x96\xec\x8d\xd8\x82\xcc\x89\xef</name><url>http://</url><memo/>"
                 "</okini></data>\n");
}

void FavouriteFileTest::roundTripKeepsOrderAndEveryText() {
    TOkiniList list;
    addOkini(list, QStringLiteral("野菜の会"), "http://example.com/?a=1&b=2", "");
    addOkini(list, QStringLiteral("<b>\"菜園\" & 'ブログ'</b>"), "", QStringLiteral("～①㈱－ é 🍅"));
    addOkini(list, "", "", "");
    store::RecordingSink sink;
    QVERIFY(list.SaveToFile(m_folder, sink));

    TOkiniList loaded;
    QVERIFY(loaded.LoadFromFile(m_folder, sink));
    QCOMPARE(sink.messages, QStringList());
    QCOMPARE(loaded.count(), 3);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(loaded.at(i)->name, list.at(i)->name);
        QCOMPARE(loaded.at(i)->url, list.at(i)->url);
        QCOMPARE(loaded.at(i)->memo, list.at(i)->memo);
    }
}

void FavouriteFileTest::readsFileWrittenByHandInCodePage932() {
    writeBytes(m_folder + "OkiniList.xml",
               "<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\r\n<data>\r\n  <okini>\r\n"
               "    <name>\x96\xec\x8d\xd8\x82\xcc\x89\xef</name>\r\n    <url>http://example.com/</url>\r\n"
               "    <memo>\x81\x60</memo>\r\n  </okini>\r\n</data>\r\n");
    TOkiniList list;
    store::RecordingSink sink;
    QVERIFY(list.LoadFromFile(m_folder, sink));
    QCOMPARE(sink.messages, QStringList());
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.at(0)->name, QStringLiteral("野菜の会"));
    QCOMPARE(list.at(0)->url, QStringLiteral("http://example.com/"));
    QCOMPARE(list.at(0)->memo, QStringLiteral("～"));
}

void FavouriteFileTest::readsChildrenInAnyOrderAndIgnoresTheRest() {
    writeBytes(m_folder + "OkiniList.xml",
               kDeclaration +
                   "<data><x/><okini id=\"1\"><memo>m</memo><extra/><url>u</url><name>n</name></okini>"
                   "<group><okini><name>a</name><url>b</url><memo>c</memo></okini></group></data>");
    TOkiniList list;
    store::RecordingSink sink;
    QVERIFY(list.LoadFromFile(m_folder, sink));
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.at(0)->name, QStringLiteral("n"));
    QCOMPARE(list.at(0)->url, QStringLiteral("u"));
    QCOMPARE(list.at(0)->memo, QStringLiteral("m"));
}

void FavouriteFileTest::loadingAppendsToTheList() {
    writeBytes(m_folder + "OkiniList.xml",
               kDeclaration + "<data><okini><name>b</name><url/><memo/></okini></data>");
    TOkiniList list;
    addOkini(list, "a", "", "");
    store::RecordingSink sink;
    QVERIFY(list.LoadFromFile(m_folder, sink));
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.at(0)->name, QStringLiteral("a"));
    QCOMPARE(list.at(1)->name, QStringLiteral("b"));
}

void FavouriteFileTest::missingFileLoadsNothingQuietly() {
    TOkiniList list;
    store::RecordingSink sink;
    QVERIFY(list.LoadFromFile(m_folder, sink));
    QVERIFY(list.LoadFromFile(m_folder + "missing/", sink));
    QCOMPARE(list.count(), 0);
    QCOMPARE(sink.messages, QStringList());
}

void FavouriteFileTest::okiniWithoutMemoStopsTheReading() {
    writeBytes(m_folder + "OkiniList.xml", kDeclaration +
                                               "<data><okini><name>a</name><url>u</url><memo/></okini>"
                                               "<okini><name>b</name><url>u</url></okini>"
                                               "<okini><name>c</name><url>u</url><memo/></okini></data>");
    TOkiniList list;
    store::RecordingSink sink;
    QVERIFY(!list.LoadFromFile(m_folder, sink));
    QCOMPARE(testsupport::firstLines(sink.messages),
             QStringList{QStringLiteral("データの読み込みに失敗しました（OkiniList）。")});
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.at(0)->name, QStringLiteral("a"));
}

void FavouriteFileTest::okiniWithoutNameStopsTheReading() {
    QVERIFY(writeBytes(m_folder + "OkiniList.xml",
                       kDeclaration + "<data><okini><url>u</url><memo/></okini></data>"));
    TOkiniList list;
    store::RecordingSink sink;
    QVERIFY(!list.LoadFromFile(m_folder, sink));
    QCOMPARE(testsupport::firstLines(sink.messages), QStringList{QString::fromUtf8(msg::LoadFailedOkini)});
    QCOMPARE(list.count(), 0);
}

void FavouriteFileTest::unparsableFileLoadsNothingWithTheMessage() {
    QVERIFY(writeBytes(m_folder + "OkiniList.xml", kDeclaration + "<data><okini><name>a</name>"));
    TOkiniList list;
    store::RecordingSink sink;
    QVERIFY(!list.LoadFromFile(m_folder, sink));
    QCOMPARE(list.count(), 0);
    QCOMPARE(testsupport::firstLines(sink.messages), QStringList{QString::fromUtf8(msg::LoadFailedOkini)});
}

void FavouriteFileTest::saveIntoMissingFolderFailsAndKeepsTheList() {
    TOkiniList list;
    addOkini(list, "a", "u", "m");
    store::RecordingSink sink;
    QVERIFY(!list.SaveToFile(m_folder + "missing/", sink));
    QCOMPARE(sink.messages, QStringList{QStringLiteral("データの保存に失敗しました（OkiniList）。")});
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.at(0)->memo, QStringLiteral("m"));
}

void FavouriteFileTest::saveWhereFolderIsAFileFails() {
    QVERIFY(writeBytes(m_folder + "plain", "x"));
    TOkiniList list;
    store::RecordingSink sink;
    QVERIFY(!list.SaveToFile(m_folder + "plain/", sink));
    QCOMPARE(sink.messages, QStringList{QString::fromUtf8(msg::SaveFailedOkini)});
    QCOMPARE(readBytes(m_folder + "plain"), QByteArray("x"));
}

void FavouriteFileTest::removeDestroysOnlyThatFavourite() {
    TOkiniList list;
    addOkini(list, "a", "", "");
    TOkini* b = addOkini(list, "b", "", "");
    list.remove(0);
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.indexOf(b), 0);
}

QTEST_GUILESS_MAIN(FavouriteFileTest)
#include "favourite_file_test.moc"
