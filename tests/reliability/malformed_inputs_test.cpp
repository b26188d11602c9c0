#include "file_kinds.h"

#include "plans/plan_records.h"
#include "store/xml_store.h"
#include "support/messages.h"

#include <QDir>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <sys/inotify.h>
#include <unistd.h>

using namespace rel;

namespace {

// Stands for a record whose content the damage makes unknowable.
const Record kAnyRecord{QStringLiteral("\x01any")};
const QByteArray kMark = "QQMARKQQ";
const QByteArray kDeclaration = "<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>";
constexpr int kRecords = 12;

struct Variant {
    QString name;
    QByteArray bytes;
    // What a perfect reader would get; a reader may stop early, never differ.
    Records expected;
    // The reading must stop exactly there, with the message.
    bool stopsExactly = false;
};

// Watches folders for any file being opened, to prove a loader touched only its own file.
class OpenWatch {
public:
    explicit OpenWatch(const QStringList& folders) : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        for (const QString& folder : folders)
            m_folders.insert(
                inotify_add_watch(m_fd, QFile::encodeName(folder).constData(), IN_OPEN | IN_ACCESS), folder);
    }
    ~OpenWatch() { close(m_fd); }
    OpenWatch(const OpenWatch&) = delete;
    OpenWatch& operator=(const OpenWatch&) = delete;

    bool valid() const { return m_fd >= 0 && !m_folders.contains(-1); }

    QStringList opened() {
        QStringList names;
        alignas(inotify_event) char buffer[8192];
        for (ssize_t n; (n = read(m_fd, buffer, sizeof buffer)) > 0;) {
            for (char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                names << m_folders.value(event->wd) + QLatin1Char('/') +
                             (event->len ? QString::fromLocal8Bit(event->name) : QString());
                p += sizeof(inotify_event) + event->len;
            }
        }
        names.removeDuplicates();
        return names;
    }

private:
    int m_fd;
    QMap<int, QString> m_folders;
};

QList<store::XmlNode> recordNodes(const Kind& kind, const store::XmlDocument& doc) {
    return doc.select(kind.recordPath);
}

// The first attribute of the record, or for records without attributes their first child.
xmlNode* firstPiece(xmlNode* record) {
    if (record->properties)
        return reinterpret_cast<xmlNode*>(record->properties);
    for (xmlNode* child = record->children; child; child = child->next)
        if (child->type == XML_ELEMENT_NODE)
            return child;
    return record;
}

// An element whose text the reader takes: a memo, a note, a line name; plans have none,
// so their group element carries the text and the reader passes it by.
const char* textPath(const Kind& kind) {
    if (kind.id == "crops" || kind.id == "favourites")
        return "memo";
    return kind.id == "purchases" ? "sina/name" : ".";
}

// The file with the mark as the value of record d's first piece, or added to the end
// of its text, and the mark then replaced by raw bytes.
QByteArray withRaw(const Kind& kind, const QByteArray& base, int d, bool text, const QByteArray& raw,
                   const QByteArray& prolog = QByteArray()) {
    store::XmlDocument doc = store::XmlDocument::parse(base);
    const QList<store::XmlNode> records = recordNodes(kind, doc);
    if (d < 0 || d >= records.size())
        return QByteArray();
    const auto mark = reinterpret_cast<const xmlChar*>(kMark.constData());
    if (text) {
        const QList<store::XmlNode> pieces = records[d].select(textPath(kind));
        if (pieces.isEmpty())
            return QByteArray();
        xmlNodeAddContent(pieces.first().raw(), mark);
    } else {
        xmlNodeSetContent(firstPiece(records[d].raw()), mark);
    }
    QByteArray bytes = doc.serialize();
    bytes.replace(kMark, raw);
    if (!prolog.isEmpty())
        bytes.replace(kDeclaration, kDeclaration + "\n" + prolog);
    return bytes;
}

Records withAny(Records records, int r) {
    records[r] = kAnyRecord;
    return records;
}

// The first record at or after from that holds the piece, or -1.
int recordWith(const Kind& kind, const store::XmlDocument& doc, const char* path, int from) {
    const QList<store::XmlNode> records = recordNodes(kind, doc);
    for (int d = from; d < records.size(); ++d)
        if (!records[d].select(path).isEmpty())
            return d;
    return from > 0 ? recordWith(kind, doc, path, 0) : -1;
}

QByteArray without(const Kind& kind, const QByteArray& base, int d, const char* path) {
    if (d < 0)
        return QByteArray();
    store::XmlDocument doc = store::XmlDocument::parse(base);
    xmlNode* node = recordNodes(kind, doc)[d].select(path).first().raw();
    if (node->type == XML_ATTRIBUTE_NODE) {
        xmlRemoveProp(reinterpret_cast<xmlAttr*>(node));
    } else {
        xmlUnlinkNode(node);
        xmlFreeNode(node);
    }
    return doc.serialize();
}

QByteArray nesting(int depth) {
    return QByteArray("<x>").repeated(depth) + QByteArray("</x>").repeated(depth);
}

QByteArray laughs() {
    QByteArray dtd = "<!DOCTYPE data [<!ENTITY a0 \"lol\">";
    for (int i = 1; i <= 9; ++i)
        dtd += "<!ENTITY a" + QByteArray::number(i) + " \"" +
               QByteArray("&a" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
    return dtd + "]>";
}

// Few references to one long entity: no nesting for a depth rule to catch.
QByteArray quadraticBlowup() {
    return "<!DOCTYPE data [<!ENTITY q \"" + QByteArray(20000, 'q') + "\">]>";
}

QList<Variant> variants(const Kind& kind, const QByteArray& base, const Records& records,
                        const QString& other) {
    QList<Variant> out;
    const int h = kind.headerRecords;
    const store::XmlDocument doc = store::XmlDocument::parse(base);

    for (qsizetype cut = 97; cut < base.size(); cut += 97)
        out << Variant{QStringLiteral("cut at %1").arg(cut), base.left(cut), records};

    const int d = 5;
    for (const QByteArray& bad : {QByteArray("\xfd\xfe"), QByteArray("\xff"), QByteArray("\x81\x20"),
                                  QByteArray("ab\x81"), QByteArray("\xa0\x80")}) {
        out << Variant{QStringLiteral("code page bytes %1").arg(QString::fromLatin1(bad.toHex())),
                       withRaw(kind, base, d, false, bad), withAny(records, h + d)};
    }

    for (const QByteArray& root : {QByteArray("atad"), QByteArray("DATA")}) {
        QByteArray bytes = base;
        bytes.replace("<data>", "<" + root + ">").replace("</data>", "</" + root + ">");
        out << Variant{QStringLiteral("root ") + QString::fromLatin1(root), bytes, records};
    }
    QByteArray spaced = base;
    out << Variant{QStringLiteral("root in a namespace"),
                   spaced.replace("<data>", "<data xmlns=\"urn:example:other\">"), records};

    for (const RequiredPiece& piece : kind.required) {
        for (int from : {0, 6}) {
            const int at = recordWith(kind, doc, piece.path, from);
            out << Variant{
                QStringLiteral("record %1 without %2").arg(at).arg(QString::fromLatin1(piece.path)),
                without(kind, base, at, piece.path), records.mid(0, h + at), true};
        }
    }
    if (kind.id == "plans") {
        store::XmlDocument plan = store::XmlDocument::parse(base);
        xmlNode* sakutuke = plan.select("/data/sakutuke").first().raw();
        xmlUnsetProp(sakutuke, reinterpret_cast<const xmlChar*>("MojiColor"));
        Records expected = records;
        expected[0][2] = QStringLiteral("0");
        out << Variant{QStringLiteral("plan without a colour"), plan.serialize(), expected};
        xmlUnsetProp(sakutuke, reinterpret_cast<const xmlChar*>("name"));
        out << Variant{QStringLiteral("plan without its name"), plan.serialize(), Records(), true};
        xmlUnlinkNode(sakutuke);
        xmlFreeNode(sakutuke);
        out << Variant{QStringLiteral("no plan element"), plan.serialize(), Records(), true};
        const auto garbled = [&](bool onPlan, const char* element, const char* attribute) {
            store::XmlDocument g = store::XmlDocument::parse(base);
            xmlNode* node = onPlan ? g.select("/data/sakutuke").first().raw() : recordNodes(kind, g)[d].raw();
            if (element)
                node = store::XmlNode(node).select(element).first().raw();
            xmlSetProp(node, reinterpret_cast<const xmlChar*>(attribute),
                       reinterpret_cast<const xmlChar*>("12a"));
            return g.serialize();
        };
        out << Variant{QStringLiteral("order not a number"), garbled(false, nullptr, "order"),
                       records.mid(0, h + d), true};
        out << Variant{QStringLiteral("row not a number"), garbled(false, "sakumotu", "ichi"),
                       records.mid(0, h + d), true};
        // The name is read before the colours, and stays.
        out << Variant{QStringLiteral("colour not a number"), garbled(true, nullptr, "YajirusiColor"),
                       Records{Record{records[0][0], "0", "0", "0", "16777215"}}, true};
    }

    const QByteArray huge = QByteArray("\x82\xa0").repeated(5 * 1024 * 1024);
    out << Variant{QStringLiteral("10 MB value"), withRaw(kind, base, d, false, huge),
                   withAny(records, h + d)};
    const int t = recordWith(kind, doc, textPath(kind), d);
    out << Variant{QStringLiteral("10000 deep"), withRaw(kind, base, t, true, "a" + nesting(10000) + "b"),
                   withAny(records, h + t)};
    out << Variant{QStringLiteral("billion laughs in text"), withRaw(kind, base, t, true, "&a9;", laughs()),
                   withAny(records, h + t)};
    out << Variant{QStringLiteral("billion laughs in a value"),
                   withRaw(kind, base, d, false, "&a9;", laughs()), withAny(records, h + d)};
    out << Variant{QStringLiteral("quadratic blowup"),
                   withRaw(kind, base, t, true, QByteArray("&q;").repeated(500), quadraticBlowup()),
                   withAny(records, h + t)};

    const QByteArray passwd = "<!ENTITY p SYSTEM \"file:///etc/passwd\">";
    const QByteArray sibling = "<!ENTITY s SYSTEM \"" + QUrl::fromLocalFile(other).toEncoded() + "\">";
    out << Variant{QStringLiteral("external entities in text"),
                   withRaw(kind, base, t, true, "&p;&s;", "<!DOCTYPE data [" + passwd + sibling + "]>"),
                   withAny(records, h + t)};
    out << Variant{QStringLiteral("external entity in a value"),
                   withRaw(kind, base, d, false, "&p;", "<!DOCTYPE data [" + passwd + "]>"),
                   withAny(records, h + d)};
    out << Variant{QStringLiteral("external document type"),
                   withRaw(kind, base, t, true, "&s;",
                           "<!DOCTYPE data SYSTEM \"" + QUrl::fromLocalFile(other).toEncoded() + "\">"),
                   withAny(records, h + t)};
    out << Variant{QStringLiteral("external parameter entity"),
                   withRaw(kind, base, t, true, "x",
                           "<!DOCTYPE data [<!ENTITY % s SYSTEM \"" + QUrl::fromLocalFile(other).toEncoded() +
                               "\"> %s;]>"),
                   withAny(records, h + t)};
    // An element the reader does not know is passed by, and adds no text.
    out << Variant{QStringLiteral("inclusion"),
                   withRaw(kind, base, t, true,
                           "<xi:include xmlns:xi=\"http://www.w3.org/2001/XInclude\" href=\"" +
                               QUrl::fromLocalFile(other).toEncoded() + "\" parse=\"text\"/>"),
                   records};
    return out;
}

// Parses, has no document type, and its root is the plain data element.
bool isOurs(const QByteArray& bytes) {
    const store::XmlDocument doc = store::XmlDocument::parse(bytes);
    if (doc.unparsable() || bytes.contains("<!DOCTYPE"))
        return false;
    const xmlNode* root = doc.root().raw();
    return xmlStrEqual(root->name, reinterpret_cast<const xmlChar*>("data")) && !root->ns;
}

qsizetype textSize(const Records& records) {
    qsizetype n = 0;
    for (const Record& r : records)
        for (const QString& s : r)
            n += s.size();
    return n;
}

QString firstDifference(const Records& loaded, const Records& expected) {
    if (loaded.size() > expected.size())
        return QStringLiteral("%1 records where at most %2 exist").arg(loaded.size()).arg(expected.size());
    for (int i = 0; i < loaded.size(); ++i)
        if (expected[i] != kAnyRecord && loaded[i] != expected[i])
            return QStringLiteral("record %1 differs: ").arg(i) + loaded[i].join(QLatin1Char('|')).left(200);
    return QString();
}

bool mentions(const Records& records, const QString& text) {
    for (const Record& r : records)
        for (const QString& s : r)
            if (s.contains(text))
                return true;
    return false;
}

void quiet(void*, const char*, ...) {}

} // namespace

class MalformedInputsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void eachLoadsWhatItCanAndKeepsTheOriginal_data();
    void eachLoadsWhatItCanAndKeepsTheOriginal();
};

// The damaged files make the XML library complain on the error stream; the test reads the results instead.
void MalformedInputsTest::initTestCase() {
    store::initXml();
    xmlSetGenericErrorFunc(nullptr, quiet);
}

void MalformedInputsTest::eachLoadsWhatItCanAndKeepsTheOriginal_data() {
    QTest::addColumn<QString>("id");
    for (const Kind& k : readableKinds())
        QTest::newRow(qPrintable(k.id)) << k.id;
}

// Every damaged file: no crash, no hang, at most its own message, only records
// that are really there, nothing from any other file, and the damaged bytes kept
// aside before the first save replaces them.
void MalformedInputsTest::eachLoadsWhatItCanAndKeepsTheOriginal() {
    QFETCH(QString, id);
    const Kind& kind = rel::kind(id);
    QTemporaryDir elsewhere;
    const QString other = elsewhere.filePath(QStringLiteral("other.xml"));
    QVERIFY(writeBytes(other, kDeclaration + "<data>OTHER-FILE-READ</data>"));

    const Records records = kind.sample(kRecords);
    QTemporaryDir baseDir;
    store::RecordingSink sink;
    QVERIFY(kind.save(folderOf(baseDir.path()), records, sink, nullptr));
    const QByteArray base = readBytes(folderOf(baseDir.path()) + kind.fileName);

    const QList<Variant> all = variants(kind, base, records, other);
    int failedLoads = 0;
    for (const Variant& v : all) {
        const QString label = kind.id + QStringLiteral(", ") + v.name + QStringLiteral(": ");
        QVERIFY2(!v.bytes.isEmpty(), qPrintable(label + "no such piece"));
        QTemporaryDir dir;
        const QString folder = folderOf(dir.path());
        // The other data files lie beside it: none of them may be read.
        for (const Kind& k : readableKinds())
            if (k.fileName != kind.fileName)
                QVERIFY(writeBytes(folder + k.fileName, readBytes(other)));
        QVERIFY(writeBytes(folder + kind.fileName, v.bytes));
        const QMap<QString, QByteArray> before = snapshot(dir.path());

        OpenWatch watch({dir.path(), elsewhere.path()});
        QVERIFY(watch.valid());
        Records loaded;
        store::RecordingSink loadSink;
        const bool ok = kind.load(folder, loaded, loadSink);
        const QStringList opened = watch.opened();
        QVERIFY2(opened.isEmpty() || opened == QStringList{dir.path() + QLatin1Char('/') + kind.fileName},
                 qPrintable(label + opened.join(QLatin1Char(' '))));

        QVERIFY2(loadSink.messages.size() <= 1, qPrintable(label + loadSink.messages.join(QLatin1Char('|'))));
        QVERIFY2(loadSink.messages.isEmpty() ||
                     testsupport::firstLine(loadSink.messages.first()) == kind.loadMessage,
                 qPrintable(label + loadSink.messages.value(0)));
        QCOMPARE(ok, loadSink.messages.isEmpty());
        const QString difference = firstDifference(loaded, v.expected);
        QVERIFY2(difference.isEmpty(), qPrintable(label + difference));
        if (v.stopsExactly) {
            QVERIFY2(!ok && loaded == v.expected,
                     qPrintable(label + QStringLiteral("%1 records").arg(loaded.size())));
        }
        // Every character read comes from at least one byte of the file.
        QVERIFY2(textSize(loaded) <= v.bytes.size(), qPrintable(label + "the text grew beyond the file"));
        QVERIFY2(!mentions(loaded, QStringLiteral("root:")) &&
                     !mentions(loaded, QStringLiteral("OTHER-FILE")),
                 qPrintable(label + "another file's text was read"));
        QCOMPARE(snapshot(dir.path()), before);
        if (kind.id == "plans") {
            store::RecordingSink nameSink;
            const QString name = ReadPlanName(folder, kind.fileName, nameSink);
            QVERIFY2(nameSink.messages.size() <= 1, qPrintable(label + "plan name"));
            QVERIFY(!name.contains(QStringLiteral("root:")));
            // Renaming a crop in every plan writes back only the plans it could read in full.
            QTemporaryDir renameDir;
            const QString renameFolder = folderOf(renameDir.path());
            QVERIFY(writeBytes(renameFolder + kind.fileName, v.bytes));
            store::RecordingSink renameSink;
            RenameCropInAllPlans(renameFolder, QStringLiteral("ナス"), QStringLiteral("水ナス"), renameSink);
            QVERIFY2(renameSink.messages.size() <= 1, qPrintable(label + "renaming"));
            if (!ok)
                QVERIFY2(readBytes(renameFolder + kind.fileName) == v.bytes, qPrintable(label + "renaming"));
        }

        // The next change saves what was read; a file not taken in whole is first copied aside.
        const bool whole = ok && isOurs(v.bytes);
        failedLoads += !ok;
        store::RecordingSink saveSink;
        QVERIFY2(kind.save(folder, loaded, saveSink, nullptr), qPrintable(label + "the save failed"));
        const QStringList aside = QDir(folder).entryList({kind.fileName + QStringLiteral(".unreadable-*")});
        if (!whole) {
            QVERIFY2(aside.size() == 1,
                     qPrintable(label + QStringLiteral("%1 copies aside").arg(aside.size())));
            QVERIFY2(readBytes(folder + aside.first()) == v.bytes, qPrintable(label + "the copy differs"));
        }
        Records again;
        store::RecordingSink againSink;
        QVERIFY2(kind.load(folder, again, againSink), qPrintable(label + "the saved file does not load"));
    }
    qInfo() << kind.id << all.size() << "damaged files," << failedLoads << "gave the message";
}

QTEST_GUILESS_MAIN(MalformedInputsTest)
#include "malformed_inputs_test.moc"
