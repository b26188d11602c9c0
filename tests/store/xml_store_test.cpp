#include "store/text_lines.h"
#include "store/xml_store.h"
#include "support/files.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using store::XmlDocument;
using store::XmlNode;

using testsupport::readBytes;
using testsupport::writeBytes;

namespace {

// Saves one record holding the text both as an attribute and as element text, and reads it back.
QPair<QString, QString> roundTrip(const QString& path, const QString& text) {
    XmlDocument doc = XmlDocument::create();
    XmlNode node = doc.root().append("rec");
    node.setAttribute("a", text);
    node.append("t").setText(text);
    doc.save(path);
    XmlDocument back = XmlDocument::load(path);
    const QList<XmlNode> nodes = back.select("/data/rec");
    if (nodes.size() != 1)
        return {};
    return {nodes.first().text("@a"), nodes.first().text("t")};
}

} // namespace

class XmlStoreTest : public QObject {
    Q_OBJECT
private slots:
    void writesShiftJisDeclarationAndFlatRoot() {
        QTemporaryDir dir;
        const QString path = dir.filePath("x.xml");
        XmlDocument doc = XmlDocument::create();
        doc.root().append("a").setText("1");
        doc.root().append("b");
        doc.save(path);
        const QByteArray bytes = readBytes(path);
        QVERIFY(bytes.startsWith("<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>"));
        QVERIFY(bytes.contains("<data><a>1</a><b/></data>"));
    }

    void keepsWindowsCharactersAsCodePage932_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("wave dash") << QStringLiteral("3月～4月")
                                   << QByteArray("3\x8c\x8e\x81\x60"
                                                 "4\x8c\x8e");
        QTest::newRow("circled one") << QStringLiteral("①") << QByteArray("\x87\x40");
        QTest::newRow("kabushiki") << QStringLiteral("㈱") << QByteArray("\x87\x8a");
        QTest::newRow("fullwidth minus") << QStringLiteral("－") << QByteArray("\x81\x7c");
    }
    void keepsWindowsCharactersAsCodePage932() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath("x.xml");
        const auto back = roundTrip(path, text);
        QCOMPARE(back.first, text);
        QCOMPARE(back.second, text);
        QVERIFY2(readBytes(path).contains(bytes), readBytes(path).toHex().constData());
    }

    void keepsCharactersOutsideShiftJis() {
        QTemporaryDir dir;
        const QString path = dir.filePath("x.xml");
        const QString text = QStringLiteral("café 🍅 トマト ¥100 〜 − —");
        const auto back = roundTrip(path, text);
        QCOMPARE(back.first, text);
        QCOMPARE(back.second, text);
        QVERIFY(readBytes(path).contains("&#"));
    }

    void keepsMarkupCharactersLiterally() {
        QTemporaryDir dir;
        const QString text = QStringLiteral("a & b <c> \"d\" &amp;");
        const auto back = roundTrip(dir.filePath("x.xml"), text);
        QCOMPARE(back.first, text);
        QCOMPARE(back.second, text);
    }

    void keepsCrLfInText() {
        QTemporaryDir dir;
        const QString text = QStringLiteral("一行目\r\n\r\n三行目\r\n");
        const auto back = roundTrip(dir.filePath("x.xml"), text);
        QCOMPARE(back.second, text);
        QCOMPARE(store::splitLines(back.second), QStringList({"一行目", "", "三行目"}));
    }

    void readsFileWrittenByWindowsInCodePage932() {
        QTemporaryDir dir;
        const QString path = dir.filePath("w.xml");
        // トマト ～ ① as Windows writes them, with raw CR LF inside the text.
        writeBytes(
            path,
            QByteArray("<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\r\n<data><rec a=\"\x83\x67\x83\x7d"
                       "\x83\x67\"><t>\x81\x60\r\n\x87\x40</t></rec></data>"));
        XmlDocument doc = XmlDocument::load(path);
        QVERIFY(!doc.unparsable());
        const QList<XmlNode> nodes = doc.select("/data/rec");
        QCOMPARE(nodes.size(), 1);
        QCOMPARE(nodes.first().text("@a"), QStringLiteral("トマト"));
        QCOMPARE(store::splitLines(nodes.first().text("t")), QStringList({"～", "①"}));
    }

    void loadsMissingFileAsEmptyWithoutComplaint() {
        QTemporaryDir dir;
        XmlDocument doc = XmlDocument::load(dir.filePath("none.xml"));
        QVERIFY(!doc.unparsable());
        QVERIFY(doc.select("/data/rec").isEmpty());
    }

    void loadsUnparsableFileAsEmpty() {
        QTemporaryDir dir;
        const QString path = dir.filePath("bad.xml");
        QVERIFY(writeBytes(path, "<?xml version=\"1.0\"?><data><rec a=\"1\"></dat"));
        XmlDocument doc = XmlDocument::load(path);
        QVERIFY(doc.unparsable());
        QVERIFY(doc.select("/data/rec").isEmpty());
    }

    void missingNodeRaises() {
        XmlDocument doc = XmlDocument::create();
        XmlNode node = doc.root().append("rec");
        QVERIFY_THROWS_EXCEPTION(store::XmlError, node.text("@none"));
        QVERIFY_THROWS_EXCEPTION(store::XmlError, node.text("none"));
    }

    void neverExpandsExternalEntities() {
        QTemporaryDir dir;
        const QString secret = dir.filePath("secret.txt");
        QVERIFY(writeBytes(secret, "TOP-SECRET"));
        const QString path = dir.filePath("evil.xml");
        const QByteArray url = QUrl::fromLocalFile(secret).toEncoded();
        writeBytes(path, "<?xml version=\"1.0\"?><!DOCTYPE data [<!ENTITY x SYSTEM \"" + url +
                             "\">]><data><rec a=\"1\"><t>&x;</t></rec></data>");
        XmlDocument doc = XmlDocument::load(path);
        for (const XmlNode& node : doc.select("/data/rec"))
            QVERIFY(!node.text("t").contains("TOP-SECRET"));
    }

    void neverLoadsExternalDtd() {
        QTemporaryDir dir;
        const QString dtd = dir.filePath("d.dtd");
        QVERIFY(writeBytes(dtd, "<!ENTITY x \"FROM-DTD\">"));
        const QString path = dir.filePath("evil.xml");
        writeBytes(path, "<?xml version=\"1.0\"?><!DOCTYPE data SYSTEM \"" +
                             QUrl::fromLocalFile(dtd).toEncoded() +
                             "\"><data><rec a=\"1\"><t>&x;</t></rec></data>");
        XmlDocument doc = XmlDocument::load(path);
        for (const XmlNode& node : doc.select("/data/rec"))
            QVERIFY(!node.text("t").contains("FROM-DTD"));
    }

    void splitsLinesAtEveryKindOfBreak_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << QString() << QStringList();
        QTest::newRow("crlf") << QStringLiteral("a\r\nb\r\n") << QStringList({"a", "b"});
        QTest::newRow("lf") << QStringLiteral("a\nb") << QStringList({"a", "b"});
        QTest::newRow("cr") << QStringLiteral("a\rb\r") << QStringList({"a", "b"});
        QTest::newRow("empty middle") << QStringLiteral("a\r\n\r\nb\r\n") << QStringList({"a", "", "b"});
    }
    void splitsLinesAtEveryKindOfBreak() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(store::splitLines(text), lines);
    }
};

QTEST_GUILESS_MAIN(XmlStoreTest)
#include "xml_store_test.moc"
