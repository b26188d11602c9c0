#include "favourites/favourite_records.h"
#include "store/message_sink.h"
#include "store/messages.h"
#include "support/file_size_limit.h"
#include "support/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using testsupport::FileSizeLimit;
using testsupport::readBytes;

namespace {

const QString kSite = QStringLiteral("file:///opt/aobaroku/site/");

const QByteArray kHead =
    "<html>\r\n"
    "<head>\r\n"
    "<meta http-equiv=\"Content-type\" content=\"text/html; charset=Shift_JIS\" />\r\n"
    "<meta http-equiv=\"Content-Style-Type\" content=\"text/css\">\r\n"
    "<link rel=\"stylesheet\" href=\"file:///opt/aobaroku/site/okini.css\" type=\"text/css\" />\r\n"
    "</head>\r\n"
    "<body oncontextmenu=\"return false\">\r\n"
    "<div>\r\n";
const QByteArray kTail = "</div>\r\n</body>\r\n</html>\r\n";

TOkini* addOkini(TOkiniList& list, const QString& name, const QString& url, const QString& memo) {
    TOkini* okini = list.add();
    okini->name = name;
    okini->url = url;
    okini->memo = memo;
    return okini;
}

} // namespace

class FavouritePageTest : public QObject {
    Q_OBJECT

private slots:
    void init();

    void emptyListWritesOnlyTheFrame();
    void favouriteWithEmptyNoteKeepsTheDash();
    void favouritesFollowInListOrder();
    void pageLinesAreTheLinesOfTheFile();
    void escapesMarkupInEachField_data();
    void escapesMarkupInEachField();
    void escapesTheStyleSheetAddress();
    void writesCodePage932();
    void writesCharactersCodePage932LacksAsReferences();
    void replacesThePageEachTime();
    void writeIntoMissingFolderReportsTheSaveMessage();
    void writeWhereFolderIsAFileFails();
    void failedWriteKeepsTheOldPage();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder;
    QString m_page;
};

void FavouritePageTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_folder = m_dir->path() + QLatin1Char('/');
    m_page = m_folder + QStringLiteral("OkiniList.html");
}

void FavouritePageTest::emptyListWritesOnlyTheFrame() {
    TOkiniList list;
    store::RecordingSink sink;
    QVERIFY(list.WritePage(m_folder, kSite, sink));
    QCOMPARE(sink.messages, QStringList());
    QCOMPARE(readBytes(m_page), kHead + kTail);
    QCOMPARE(list.PageLines(kSite).size(), 11);
}

void FavouritePageTest::favouriteWithEmptyNoteKeepsTheDash() {
    TOkiniList list;
    addOkini(list, QStringLiteral("野菜の会"), "http://yasai.example/", "");
    store::RecordingSink sink;
    QVERIFY(list.WritePage(m_folder, kSite, sink));
    const QByteArray line =
        "<p><a href=\"http://yasai.example/\" target=\"_blank\">\x96\xec\x8d\xd8\x82\xcc\x89\xef"
        "</a><span class=\"okini_memo\"> - </span></p>\r\n";
    QCOMPARE(readBytes(m_page), kHead + line + kTail);
}

void FavouritePageTest::favouritesFollowInListOrder() {
    TOkiniList list;
    addOkini(list, "a", "http://a/", "1");
    addOkini(list, "b", "http://b/", "2");
    addOkini(list, "c", "http://", "3");
    const QStringList lines = list.PageLines(kSite);
    QCOMPARE(lines.size(), 14);
    QCOMPARE(
        lines.at(8),
        QStringLiteral(
            "<p><a href=\"http://a/\" target=\"_blank\">a</a><span class=\"okini_memo\"> - 1</span></p>"));
    QCOMPARE(
        lines.at(9),
        QStringLiteral(
            "<p><a href=\"http://b/\" target=\"_blank\">b</a><span class=\"okini_memo\"> - 2</span></p>"));
    QCOMPARE(lines.at(10),
             QStringLiteral(
                 "<p><a href=\"http://\" target=\"_blank\">c</a><span class=\"okini_memo\"> - 3</span></p>"));
    QCOMPARE(lines.at(11), QStringLiteral("</div>"));
}

void FavouritePageTest::pageLinesAreTheLinesOfTheFile() {
    TOkiniList list;
    addOkini(list, "a", "http://a/", "1");
    addOkini(list, "b", "http://b/", "");
    store::RecordingSink sink;
    QVERIFY(list.WritePage(m_folder, kSite, sink));
    QCOMPARE(QString::fromLatin1(readBytes(m_page)), list.PageLines(kSite).join("\r\n") + "\r\n");
}

void FavouritePageTest::escapesMarkupInEachField_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QString>("line");
    const QString a = QStringLiteral("<p><a href=\"");
    const QString b = QStringLiteral("\" target=\"_blank\">");
    const QString c = QStringLiteral("</a><span class=\"okini_memo\"> - ");
    const QString d = QStringLiteral("</span></p>");
    QTest::newRow("ampersand in name") << "A&B"
                                       << "u"
                                       << "" << a + "u" + b + "A&amp;B" + c + d;
    QTest::newRow("less-than in name") << "<b>x</b>"
                                       << "u"
                                       << "" << a + "u" + b + "&lt;b&gt;x&lt;/b&gt;" + c + d;
    QTest::newRow("quote in name") << "\"x\""
                                   << "u"
                                   << "" << a + "u" + b + "\"x\"" + c + d;
    QTest::newRow("ampersand in url") << "n"
                                      << "http://x/?a=1&b=2"
                                      << "" << a + "http://x/?a=1&amp;b=2" + b + "n" + c + d;
    QTest::newRow("less-than in url") << "n"
                                      << "http://x/<y>"
                                      << "" << a + "http://x/&lt;y&gt;" + b + "n" + c + d;
    QTest::newRow("quote in url") << "n"
                                  << "x\" onclick=\"alert(1)"
                                  << "" << a + "x&quot; onclick=&quot;alert(1)" + b + "n" + c + d;
    QTest::newRow("script in memo") << "n"
                                    << "u"
                                    << "<script>alert(1)</script>"
                                    << a + "u" + b + "n" + c + "&lt;script&gt;alert(1)&lt;/script&gt;" + d;
    QTest::newRow("ampersand in memo")
        << "n"
        << "u"
        << "&amp; & \"q\"" << a + "u" + b + "n" + c + "&amp;amp; &amp; \"q\"" + d;
}

void FavouritePageTest::escapesMarkupInEachField() {
    QFETCH(QString, name);
    QFETCH(QString, url);
    QFETCH(QString, memo);
    QFETCH(QString, line);
    TOkiniList list;
    addOkini(list, name, url, memo);
    QCOMPARE(list.PageLines(kSite).at(8), line);
    store::RecordingSink sink;
    QVERIFY(list.WritePage(m_folder, kSite, sink));
    QCOMPARE(readBytes(m_page), kHead + line.toLatin1() + "\r\n" + kTail);
}

void FavouritePageTest::escapesTheStyleSheetAddress() {
    TOkiniList list;
    QCOMPARE(list.PageLines(QStringLiteral("file:///a\"b&c/")).at(4),
             QStringLiteral(
                 "<link rel=\"stylesheet\" href=\"file:///a&quot;b&amp;c/okini.css\" type=\"text/css\" />"));
}

void FavouritePageTest::writesCodePage932() {
    TOkiniList list;
    addOkini(list, QStringLiteral("家庭菜園①"), "http://x/", QStringLiteral("～㈱－"));
    store::RecordingSink sink;
    QVERIFY(list.WritePage(m_folder, kSite, sink));
    const QByteArray line =
        "<p><a href=\"http://x/\" target=\"_blank\">\x89\xc6\x92\xeb\x8d\xd8\x89\x80\x87\x40"
        "</a><span class=\"okini_memo\"> - \x81\x60\x87\x8a\x81\x7c</span></p>\r\n";
    QCOMPARE(readBytes(m_page), kHead + line + kTail);
}

void FavouritePageTest::writesCharactersCodePage932LacksAsReferences() {
    TOkiniList list;
    addOkini(list, QStringLiteral("Café 🍅"), QStringLiteral("http://x/é"), QStringLiteral("한"));
    store::RecordingSink sink;
    QVERIFY(list.WritePage(m_folder, kSite, sink));
    const QByteArray line = "<p><a href=\"http://x/&#233;\" target=\"_blank\">Caf&#233; &#127813;"
                            "</a><span class=\"okini_memo\"> - &#54620;</span></p>\r\n";
    const QByteArray page = readBytes(m_page);
    QVERIFY(page.startsWith(kHead));
    QCOMPARE(page.mid(kHead.size()), line + kTail);
}

void FavouritePageTest::replacesThePageEachTime() {
    TOkiniList list;
    addOkini(list, "a", "http://a/", "a long note that makes the first page longer");
    store::RecordingSink sink;
    QVERIFY(list.WritePage(m_folder, kSite, sink));
    list.remove(0);
    QVERIFY(list.WritePage(m_folder, kSite, sink));
    QCOMPARE(readBytes(m_page), kHead + kTail);
    QCOMPARE(QDir(m_folder).entryList(QDir::Files), QStringList{"OkiniList.html"});
}

void FavouritePageTest::writeIntoMissingFolderReportsTheSaveMessage() {
    TOkiniList list;
    addOkini(list, "a", "u", "m");
    store::RecordingSink sink;
    QVERIFY(!list.WritePage(m_folder + "missing/", kSite, sink));
    QCOMPARE(sink.messages, QStringList{QStringLiteral("データの保存に失敗しました（OkiniList）。")});
    QVERIFY(!QFile::exists(m_folder + "missing"));
}

void FavouritePageTest::writeWhereFolderIsAFileFails() {
    QFile plain(m_folder + "plain");
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("x");
    plain.close();
    TOkiniList list;
    store::RecordingSink sink;
    QVERIFY(!list.WritePage(m_folder + "plain/", kSite, sink));
    QCOMPARE(sink.messages, QStringList{QString::fromUtf8(msg::SaveFailedOkini)});
    QCOMPARE(readBytes(m_folder + "plain"), QByteArray("x"));
}

void FavouritePageTest::failedWriteKeepsTheOldPage() {
    TOkiniList list;
    store::RecordingSink sink;
    QVERIFY(list.WritePage(m_folder, kSite, sink));
    for (int i = 0; i < 100; ++i)
        addOkini(list, QStringLiteral("菜園%1").arg(i), "http://x/", QStringLiteral("メモ"));

    // The disk fills up half way through the write.
    {
        FileSizeLimit limit(1024);
        QVERIFY(!list.WritePage(m_folder, kSite, sink));
    }
    QCOMPARE(sink.messages, QStringList{QString::fromUtf8(msg::SaveFailedOkini)});
    QCOMPARE(readBytes(m_page), kHead + kTail);
    QCOMPARE(QDir(m_folder).entryList(QDir::Files), QStringList{"OkiniList.html"});
}

QTEST_GUILESS_MAIN(FavouritePageTest)
#include "favourite_page_test.moc"
