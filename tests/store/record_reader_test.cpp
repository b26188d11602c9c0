#include "schedule/task_records.h"
#include "store/message_sink.h"
#include "store/record_reader.h"
#include "store/save_file.h"
#include "store/xml_store.h"
#include "support/files.h"

#include <QTemporaryDir>
#include <QtTest>
#include <libxml/tree.h>
#include <random>

using store::RecordReader;
using store::XmlDocument;
using store::XmlNode;

namespace {

const QByteArray kDeclaration = "<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\n";

QByteArray file(const QByteArray& body) {
    return kDeclaration + body;
}

// A record as a loader sees it: its attributes in order, then all its text.
QString describe(const XmlNode& node) {
    QString text;
    for (xmlAttr* a = node.raw()->properties; a; a = a->next)
        text += QString::fromUtf8(reinterpret_cast<const char*>(a->name)) + QLatin1Char('=') +
                XmlNode(reinterpret_cast<xmlNode*>(a)).text(".") + QLatin1Char(';');
    return text + node.text(".");
}

struct Reading {
    bool broken = false;
    bool foreignRoot = false;
    QStringList records;
    int depth1 = 0;
    int depth3 = 0;
    bool operator==(const Reading&) const = default;
};

Reading wholeParse(const QByteArray& bytes, const char* name) {
    Reading r;
    const XmlDocument doc = XmlDocument::parse(bytes);
    r.broken = doc.unparsable();
    if (r.broken)
        return r;
    const xmlNode* root = doc.root().raw();
    r.foreignRoot = root->ns || !xmlStrEqual(root->name, reinterpret_cast<const xmlChar*>("data"));
    for (const XmlNode& node : doc.select(QByteArray("/data/").append(name).constData()))
        r.records << describe(node);
    r.depth1 = doc.elementsBelowRoot(1);
    r.depth3 = doc.elementsBelowRoot(3);
    return r;
}

Reading streamed(const QByteArray& bytes, const char* name) {
    Reading r;
    RecordReader reader(bytes);
    while (const auto node = reader.next(name))
        r.records << describe(*node);
    reader.finish();
    r.broken = reader.broken();
    if (r.broken)
        return {.broken = true, .foreignRoot = false, .records = {}, .depth1 = 0, .depth3 = 0};
    r.foreignRoot = reader.foreignRoot();
    r.depth1 = reader.counts().depth1;
    r.depth3 = reader.counts().depth3;
    return r;
}

// トマト and ① in code page 932.
const QByteArray kPlanLike =
    file("<data><kako nendo=\"2025\"><sakutuke name=\"a\"><group name=\"g\" order=\"1\">"
         "<sakumotu name=\"\x83g\x83}\x83g\"/><sakumotu name=\"\x87\x40\"/></group></sakutuke></kako>"
         "<other/><kako nendo=\"2024\">&amp;text<![CDATA[<cdata>]]><!-- note --></kako>"
         "</data>");

// Damage of every kind a file meets: flipped bytes, a cut, a stray piece of markup, a gap.
QByteArray damaged(QByteArray bytes, std::mt19937& dice) {
    static const QByteArray pieces[] = {"<",           ">",
                                        "&",           "&amp;",
                                        "&x;",         "<!DOCTYPE data>",
                                        "<?pi x?>",    "<!-- c -->",
                                        "]]>",         "<![CDATA[x]]>",
                                        "\x82",        "\xff",
                                        "\"",          "<a:b/>",
                                        "xmlns=\"u\"", "</data>",
                                        "<data>",      "\x81\x40",
                                        "<kako/>",     "<data xmlns=\"u\">"};
    const qsizetype at = qsizetype(dice() % unsigned(bytes.size()));
    switch (dice() % 4) {
    case 0:
        bytes[at] = char(dice() % 256);
        return bytes;
    case 1:
        return bytes.left(at);
    case 2:
        return bytes.insert(at, pieces[dice() % std::size(pieces)]);
    default:
        return bytes.remove(at, 1 + dice() % 5);
    }
}

} // namespace

class RecordReaderTest : public QObject {
    Q_OBJECT
private slots:
    void readsWhatTheWholeParseSelects_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("records");
        QTest::addColumn<bool>("broken");
        QTest::addColumn<bool>("foreignRoot");
        QTest::newRow("records") << kPlanLike << 2 << false << false;
        QTest::newRow("empty root") << file("<data/>") << 0 << false << false;
        QTest::newRow("other names and a namespaced record")
            << file("<data><x/><kako/><n:kako xmlns:n=\"u\"/><kako/>text</data>") << 2 << false << false;
        QTest::newRow("record deeper down") << file("<data><x><kako/></x></data>") << 0 << false << false;
        QTest::newRow("foreign root") << file("<daten><kako/></daten>") << 0 << false << true;
        QTest::newRow("namespaced root") << file("<data xmlns=\"u\"><kako/></data>") << 0 << false << true;
        QTest::newRow("document type")
            << file("<!DOCTYPE data [<!ENTITY e \"x\">]><data><kako>&e;</kako></data>") << 0 << true << false;
        QTest::newRow("cut after a record") << file("<data><kako/><kako>") << 0 << true << false;
        QTest::newRow("garbage after the root") << file("<data><kako/></data><data/>") << 0 << true << false;
        QTest::newRow("no root") << file("") << 0 << true << false;
        QTest::newRow("not code page 932") << file("<data><kako>\x82</kako></data>") << 0 << true << false;
    }
    void readsWhatTheWholeParseSelects() {
        QFETCH(QByteArray, bytes);
        QFETCH(int, records);
        QFETCH(bool, broken);
        QFETCH(bool, foreignRoot);
        const Reading reading = streamed(bytes, "kako");
        QCOMPARE(reading.broken, broken);
        QCOMPARE(reading.foreignRoot, foreignRoot);
        QCOMPARE(reading.records.size(), records);
        QCOMPARE(reading, wholeParse(bytes, "kako"));
    }

    // Thousands of damaged files: the reader finds a file broken exactly when
    // the whole parse refuses it, and reads the same records from the others.
    void agreesWithTheWholeParseOnDamagedFiles() {
        std::mt19937 dice(20261210);
        int broken = 0;
        for (int i = 0; i < 5000; ++i) {
            const QByteArray bytes = damaged(kPlanLike, dice);
            const Reading whole = wholeParse(bytes, "kako");
            broken += whole.broken ? 1 : 0;
            if (streamed(bytes, "kako") != whole)
                QFAIL(qPrintable(QStringLiteral("differs from the whole parse: ") +
                                 QString::fromLatin1(bytes.toHex())));
        }
        QVERIFY(broken > 1000 && broken < 4900);
    }

    void aMissingFileHasNoRecordsAndAnUnreadableOneIsBroken() {
        QTemporaryDir dir;
        RecordReader missing = RecordReader::open(dir.filePath("none.xml"));
        QVERIFY(!missing.next("kako"));
        missing.finish();
        QVERIFY(!missing.broken());
        QCOMPARE(missing.counts().depth1, 0);
        // A folder where the file should be cannot be read as one.
        QVERIFY(QDir(dir.path()).mkdir("folder.xml"));
        RecordReader folder = RecordReader::open(dir.filePath("folder.xml"));
        QVERIFY(!folder.next("kako"));
        QVERIFY(folder.broken());
    }

    // The records come before the break is found: a loader takes them back, as
    // a file that does not parse gives none, and keeps the file aside.
    void aFileThatBreaksOffLoadsNothing() {
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        testsupport::writeBytes(folder + kYoteiFileName,
                                file("<data><yotei name=\"a\" tuki=\"1\" shuu=\"1\" state=\"\"/>"
                                     "<yotei name=\"b\" tuki=\"2\" shuu=\"1\" state=\"\"/><yotei"));
        TYoteiList tasks;
        store::RecordingSink sink;
        QVERIFY(!tasks.LoadFromFile(folder, sink));
        QCOMPARE(tasks.count(), 0);
        QCOMPARE(sink.messages.size(), 1);
        QVERIFY(store::isNotedUnreadable(folder + kYoteiFileName));
    }

    // A record that breaks the reading keeps those before it, unless the file breaks off too.
    void aBrokenRecordKeepsThoseBeforeItInAWholeFile_data() {
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<int>("kept");
        QTest::newRow("whole file") << QByteArray("</data>") << 1;
        QTest::newRow("cut off later") << QByteArray("<yotei") << 0;
    }
    void aBrokenRecordKeepsThoseBeforeItInAWholeFile() {
        QFETCH(QByteArray, tail);
        QFETCH(int, kept);
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        testsupport::writeBytes(folder + kYoteiFileName,
                                file("<data><yotei name=\"a\" tuki=\"1\" shuu=\"1\" state=\"\"/>"
                                     "<yotei name=\"no month\" shuu=\"1\" state=\"\"/>"
                                     "<yotei name=\"c\" tuki=\"3\" shuu=\"1\" state=\"\"/>" +
                                     tail));
        TYoteiList tasks;
        store::RecordingSink sink;
        QVERIFY(!tasks.LoadFromFile(folder, sink));
        QCOMPARE(tasks.count(), kept);
        QCOMPARE(sink.messages.size(), 1);
    }
};

QTEST_GUILESS_MAIN(RecordReaderTest)
#include "record_reader_test.moc"
