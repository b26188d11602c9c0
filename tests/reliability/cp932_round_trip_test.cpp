#include "file_kinds.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <iconv.h>

using namespace rel;

namespace {

QString decodeCp932(const QByteArray& bytes) {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return QString();
    QByteArray in = bytes;
    QByteArray out(in.size() * 4 + 4, '\0');
    char* inPtr = in.data();
    char* outPtr = out.data();
    size_t inLeft = size_t(in.size());
    size_t outLeft = size_t(out.size());
    const size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (done == size_t(-1) || inLeft != 0)
        return QString();
    return QString::fromUtf8(out.constData(), out.size() - qsizetype(outLeft));
}

// Every character code page 932 has a printable code for, each once (the NEC and
// IBM rows hold some kanji twice), in code order.
QString printableCp932() {
    QString all;
    QSet<char32_t> seen;
    const auto take = [&](const QByteArray& code) {
        const QString c = decodeCp932(code);
        if (c.size() != 1 || !c[0].isPrint() || seen.contains(c[0].unicode()))
            return;
        seen.insert(c[0].unicode());
        all += c;
    };
    for (int b = 0x20; b <= 0xDF; ++b)
        take(QByteArray(1, char(b)));
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0)
            continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail)
            if (trail != 0x7F)
                take(QByteArray(1, char(lead)) + char(trail));
    }
    return all;
}

// The page is written, never read: decode it as a browser would.
QString pageText(const QByteArray& bytes) {
    QString text = decodeCp932(bytes);
    static const QRegularExpression reference(QStringLiteral("&#(\\d+);"));
    QString out;
    qsizetype last = 0;
    for (auto it = reference.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(last, m.capturedStart() - last);
        const char32_t cp = m.captured(1).toUInt();
        out += QString::fromUcs4(&cp, 1);
        last = m.capturedEnd();
    }
    return out + text.mid(last);
}

Records throughFile(const Kind& kind, const Records& records, QByteArray* bytes = nullptr) {
    QTemporaryDir dir;
    const QString folder = folderOf(dir.path());
    store::RecordingSink sink;
    if (!kind.save(folder, records, sink, nullptr))
        return {};
    if (bytes)
        *bytes = readBytes(folder + kind.fileName);
    Records back;
    if (kind.readable() && !kind.load(folder, back, sink))
        return {};
    return sink.messages.isEmpty() ? back : Records();
}

// The page shows the favourites' texts with the three markup characters escaped.
QString htmlText(QString text) {
    return text.replace(QLatin1Char('&'), QStringLiteral("&amp;"))
        .replace(QLatin1Char('<'), QStringLiteral("&lt;"))
        .replace(QLatin1Char('>'), QStringLiteral("&gt;"));
}

void addKindRows() {
    QTest::addColumn<QString>("id");
    for (const Kind& k : kinds())
        QTest::newRow(qPrintable(k.id)) << k.id;
}

// Characters a gardener may type that code page 932 cannot hold; the last nine
// are ones the C library's converter quietly turns into look-alikes.
const QStringList kForeign{
    QStringLiteral("é"), QStringLiteral("🍅"), QStringLiteral("Ω̃"),  QStringLiteral("ß"), QStringLiteral("¥"),
    QStringLiteral("¢"), QStringLiteral("£"), QStringLiteral("¬"),  QStringLiteral("—"), QStringLiteral("‖"),
    QStringLiteral("‾"), QStringLiteral("−"), QStringLiteral("〜"),
};
constexpr int kLookAlikes = 9;

} // namespace

class Cp932RoundTripTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void everyPrintableCharacterComesBack_data() { addKindRows(); }
    void everyPrintableCharacterComesBack();
    void charactersOutsideTheCodePageComeBack_data();
    void charactersOutsideTheCodePageComeBack();
    void planNumbersComeBack();

private:
    QString m_all;
};

void Cp932RoundTripTest::initTestCase() {
    m_all = printableCp932();
    // ASCII, half-width kana, JIS X 0208 and the NEC and IBM rows; fewer means the converter is missing.
    QVERIFY2(m_all.size() > 7400, qPrintable(QString::number(m_all.size())));
    qInfo() << m_all.size() << "printable characters of code page 932";
}

void Cp932RoundTripTest::everyPrintableCharacterComesBack() {
    QFETCH(QString, id);
    const Kind& kind = rel::kind(id);
    const Records records = kind.fillText(kind.sample(kind.headerRecords + 6), m_all);
    QByteArray bytes;
    const Records back = throughFile(kind, records, &bytes);
    if (!kind.readable()) {
        QVERIFY(pageText(bytes).contains(htmlText(m_all)));
        return;
    }
    QCOMPARE(back.size(), records.size());
    for (int i = 0; i < records.size(); ++i)
        QCOMPARE(back[i], records[i]);
    // Stored as code page 932 itself, not as references to Unicode; only the
    // carriage returns of the line ends are references, or XML would drop them.
    QVERIFY(!bytes.replace("&#13;", "").contains("&#"));
}

void Cp932RoundTripTest::charactersOutsideTheCodePageComeBack_data() {
    QTest::addColumn<QString>("id");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("lookAlike");
    for (const Kind& k : kinds())
        for (int i = 0; i < kForeign.size(); ++i)
            QTest::newRow(qPrintable(k.id + QLatin1Char(' ') + kForeign[i]))
                << k.id << QStringLiteral("a") + kForeign[i] + QStringLiteral("ト")
                << (i >= kForeign.size() - kLookAlikes);
}

void Cp932RoundTripTest::charactersOutsideTheCodePageComeBack() {
    QFETCH(QString, id);
    QFETCH(QString, text);
    QFETCH(bool, lookAlike);
    Q_UNUSED(lookAlike); // look-alikes the C library would swap come back as references too
    const Kind& kind = rel::kind(id);
    const Records records = kind.fillText(kind.sample(kind.headerRecords + 4), text);
    QByteArray bytes;
    const Records back = throughFile(kind, records, &bytes);
    if (!kind.readable())
        QVERIFY(pageText(bytes).contains(htmlText(text)));
    else
        QCOMPARE(back, records);
}

void Cp932RoundTripTest::planNumbersComeBack() {
    const Kind& kind = rel::kind(QStringLiteral("plans"));
    Records records = kind.sample(4);
    records[0] = Record{QStringLiteral("計画"), "-2147483648", "2147483647", "0", "16777215"};
    records[1][1] = QStringLiteral("-2147483648");
    records[3][1] = QStringLiteral("2147483647");
    records[3][2 + 5] = QStringLiteral("2147483647");
    records[3][2 + 6] = QStringLiteral("-2147483648");
    QCOMPARE(throughFile(kind, records), records);
}

QTEST_GUILESS_MAIN(Cp932RoundTripTest)
#include "cp932_round_trip_test.moc"
