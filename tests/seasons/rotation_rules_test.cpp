#include "crops/crop_records.h"
#include "seasons/rotation_rules.h"
#include "store/message_sink.h"

#include <QTest>

using seasons::RotationGap;
using Source = RotationGap::Source;

Q_DECLARE_METATYPE(Source)

class RotationRulesTest : public QObject {
    Q_OBJECT
private slots:
    void familyIsTheKamokuUpToItsFirstKa_data();
    void familyIsTheKamokuUpToItsFirstKa();
    void gapIsReadFromTheNoteLine_data();
    void gapIsReadFromTheNoteLine();
    void familyTableFillsInWhereTheNoteIsSilent_data();
    void familyTableFillsInWhereTheNoteIsSilent();
    void starterCatalogueGivesEveryCropItsFamilyAndGap_data();
    void starterCatalogueGivesEveryCropItsFamilyAndGap();
    void bedsAreOneAfterTrimmingAndWidthFolding();
};

void RotationRulesTest::familyIsTheKamokuUpToItsFirstKa_data() {
    QTest::addColumn<QString>("kamoku");
    QTest::addColumn<QString>("family");
    QTest::newRow("genus after family") << "ナス科ナス属"
                                        << "ナス科";
    QTest::newRow("family alone") << "ウリ科"
                                  << "ウリ科";
    QTest::newRow("first 科 only") << "アブラナ科科目"
                                   << "アブラナ科";
    QTest::newRow("without 科 is its own") << "バラ目"
                                           << "バラ目";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("blank") << "　 "
                           << "";
    QTest::newRow("half-width kana, spaces") << " ｱﾌﾞﾗﾅ科ｱﾌﾞﾗﾅ属 "
                                             << "アブラナ科";
    QTest::newRow("ヒガンバナ科 is ユリ科") << "ヒガンバナ科ネギ属"
                                            << "ユリ科/ヒガンバナ科";
    QTest::newRow("ユリ科") << "ユリ科ネギ属"
                            << "ユリ科/ヒガンバナ科";
    QTest::newRow("アカザ科 is ヒユ科") << "アカザ科ホウレンソウ属"
                                        << "ヒユ科/アカザ科";
    QTest::newRow("ヒユ科") << "ヒユ科"
                            << "ヒユ科/アカザ科";
}

void RotationRulesTest::familyIsTheKamokuUpToItsFirstKa() {
    QFETCH(QString, kamoku);
    QFETCH(QString, family);
    QCOMPARE(seasons::FamilyOf(kamoku), family);
}

void RotationRulesTest::gapIsReadFromTheNoteLine_data() {
    QTest::addColumn<QStringList>("memo");
    QTest::addColumn<int>("lower");
    QTest::addColumn<int>("upper");
    QTest::addColumn<QString>("text");
    QTest::addColumn<Source>("source");
    QTest::newRow("full-width range")
        << QStringList{"連作障害：４～５年あける"} << 4 << 5 << "4～5年" << Source::Note;
    QTest::newRow("half-width single") << QStringList{"連作障害：2年"} << 2 << 2 << "2年" << Source::Note;
    QTest::newRow("half-width colon, wave dash")
        << QStringList{"連作障害: 3〜4年"} << 3 << 4 << "3～4年" << Source::Note;
    QTest::newRow("at least") << QStringList{"連作障害：5年以上あける"} << 5 << 5 << "5年以上"
                              << Source::Note;
    QTest::newRow("なし whatever follows")
        << QStringList{"連作障害：なし（ナス科は4～5年あける）"} << 0 << 0 << "なし" << Source::Note;
    QTest::newRow("among other lines") << QStringList{"水はけのよい所", "連作障害：１年あける", "追肥２回"}
                                       << 1 << 1 << "1年" << Source::Note;
    QTest::newRow("unreadable years") << QStringList{"連作障害：不明"} << 0 << 0 << "なし" << Source::None;
    QTest::newRow("absurd years") << QStringList{"連作障害：999年"} << 0 << 0 << "なし" << Source::None;
    QTest::newRow("no colon") << QStringList{"連作障害は4年"} << 0 << 0 << "なし" << Source::None;
    QTest::newRow("no line") << QStringList{"日当たりを好む"} << 0 << 0 << "なし" << Source::None;
}

void RotationRulesTest::gapIsReadFromTheNoteLine() {
    QFETCH(QStringList, memo);
    QFETCH(int, lower);
    QFETCH(int, upper);
    QFETCH(QString, text);
    QFETCH(Source, source);
    const RotationGap gap = seasons::GapFromNote(memo);
    QCOMPARE(gap.source, source);
    QCOMPARE(gap.lower, lower);
    QCOMPARE(gap.upper, upper);
    QCOMPARE(gap.text(), text);
    QCOMPARE(gap.warns(), lower > 0);
}

void RotationRulesTest::familyTableFillsInWhereTheNoteIsSilent_data() {
    QTest::addColumn<QString>("kamoku");
    QTest::addColumn<QStringList>("memo");
    QTest::addColumn<int>("lower");
    QTest::addColumn<Source>("source");
    const QStringList none;
    QTest::newRow("ナス科") << "ナス科ナス属" << none << 3 << Source::Table;
    QTest::newRow("ウリ科") << "ウリ科" << none << 2 << Source::Table;
    QTest::newRow("マメ科") << "マメ科" << none << 3 << Source::Table;
    QTest::newRow("アブラナ科") << "アブラナ科" << none << 1 << Source::Table;
    QTest::newRow("キク科") << "キク科" << none << 1 << Source::Table;
    QTest::newRow("セリ科") << "セリ科" << none << 1 << Source::Table;
    QTest::newRow("ユリ科") << "ユリ科" << none << 1 << Source::Table;
    QTest::newRow("ヒガンバナ科") << "ヒガンバナ科" << none << 1 << Source::Table;
    QTest::newRow("イネ科") << "イネ科" << none << 0 << Source::Table;
    QTest::newRow("アカザ科") << "アカザ科" << none << 1 << Source::Table;
    QTest::newRow("ショウガ科") << "ショウガ科" << none << 4 << Source::Table;
    QTest::newRow("サトイモ科") << "サトイモ科" << none << 3 << Source::Table;
    QTest::newRow("ヒルガオ科") << "ヒルガオ科" << none << 0 << Source::Table;
    QTest::newRow("シソ科") << "シソ科" << none << 0 << Source::Table;
    QTest::newRow("unknown family") << "バラ科" << none << 0 << Source::None;
    QTest::newRow("note before table") << "ナス科" << QStringList{"連作障害：6年"} << 6 << Source::Note;
    QTest::newRow("unreadable note, table") << "ナス科" << QStringList{"連作障害：？"} << 3 << Source::Table;
    QTest::newRow("empty kamoku never warns") << "" << QStringList{"連作障害：3年"} << 0 << Source::None;
}

void RotationRulesTest::familyTableFillsInWhereTheNoteIsSilent() {
    QFETCH(QString, kamoku);
    QFETCH(QStringList, memo);
    QFETCH(int, lower);
    QFETCH(Source, source);
    const RotationGap gap = seasons::GapOf(kamoku, memo);
    QCOMPARE(gap.lower, lower);
    QCOMPARE(gap.source, source);
}

// The catalogue a new notebook starts with: every crop, its family and the gap its note gives.
void RotationRulesTest::starterCatalogueGivesEveryCropItsFamilyAndGap_data() {
    QTest::addColumn<QString>("crop");
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("gap");
    const QList<std::array<const char*, 3>> rows{
        {"トマト", "ナス科", "なし"},
        {"ミニトマト", "ナス科", "4～5年"},
        {"ナス", "ナス科", "4～5年"},
        {"ピーマン", "ナス科", "3～4年"},
        {"シシトウ", "ナス科", "3～4年"},
        {"キュウリ", "ウリ科", "2～3年"},
        {"カボチャ", "ウリ科", "1～2年"},
        {"ズッキーニ", "ウリ科", "1～2年"},
        {"スイカ", "ウリ科", "5年以上"},
        {"ゴーヤ", "ウリ科", "2～3年"},
        {"オクラ", "アオイ科", "2年"},
        {"トウモロコシ", "イネ科", "なし"},
        {"エダマメ", "マメ科", "3～4年"},
        {"インゲン", "マメ科", "3～4年"},
        {"ソラマメ", "マメ科", "4～5年"},
        {"エンドウ", "マメ科", "4～5年"},
        {"ラッカセイ", "マメ科", "2～3年"},
        {"ダイコン", "アブラナ科", "1～2年"},
        {"カブ", "アブラナ科", "1～2年"},
        {"ニンジン", "セリ科", "1～2年"},
        {"ハクサイ", "アブラナ科", "2～3年"},
        {"キャベツ", "アブラナ科", "2～3年"},
        {"ブロッコリー", "アブラナ科", "2～3年"},
        {"カリフラワー", "アブラナ科", "2～3年"},
        {"コマツナ", "アブラナ科", "1年"},
        {"チンゲンサイ", "アブラナ科", "1年"},
        {"ミズナ", "アブラナ科", "1年"},
        {"ホウレンソウ", "ヒユ科/アカザ科", "1～2年"},
        {"シュンギク", "キク科", "1～2年"},
        {"レタス", "キク科", "1～2年"},
        {"リーフレタス", "キク科", "1～2年"},
        {"タマネギ", "ユリ科/ヒガンバナ科", "1～2年"},
        {"ネギ", "ユリ科/ヒガンバナ科", "1～2年"},
        {"ニンニク", "ユリ科/ヒガンバナ科", "1～2年"},
        {"ラッキョウ", "ユリ科/ヒガンバナ科", "1～2年"},
        {"ジャガイモ", "ナス科", "3～4年"},
        {"サツマイモ", "ヒルガオ科", "なし"},
        {"サトイモ", "サトイモ科", "3～4年"},
        {"シソ", "シソ科", "なし"},
        {"バジル", "シソ科", "なし"},
        {"イチゴ", "バラ科", "2～3年"},
    };
    for (const auto& row : rows)
        QTest::newRow(row[0]) << QString::fromUtf8(row[0]) << QString::fromUtf8(row[1])
                              << QString::fromUtf8(row[2]);
}

void RotationRulesTest::starterCatalogueGivesEveryCropItsFamilyAndGap() {
    QFETCH(QString, crop);
    QFETCH(QString, family);
    QFETCH(QString, gap);
    static TSakumotuList catalogue = [] {
        TSakumotuList crops;
        store::RecordingSink sink;
        crops.LoadFromFile(QStringLiteral(AOBAROKU_STARTER_DIR "/"), sink);
        return crops;
    }();
    QCOMPARE(catalogue.count(), 41);
    const TSakumotu* found = catalogue.FindByName(crop);
    QVERIFY(found);
    QCOMPARE(seasons::FamilyOf(found->kamoku), family);
    const RotationGap read = seasons::GapOf(found->kamoku, found->memo);
    QCOMPARE(read.text(), gap);
    // Every starter crop says it in its note: none falls back on the table.
    QCOMPARE(read.source, Source::Note);
}

void RotationRulesTest::bedsAreOneAfterTrimmingAndWidthFolding() {
    QCOMPARE(seasons::BedKey(QStringLiteral(" ＡＢ畝　")), seasons::BedKey(QStringLiteral("AB畝")));
    QCOMPARE(seasons::BedKey(QStringLiteral("ﾊｳｽ１")), seasons::BedKey(QStringLiteral("ハウス1")));
    QVERIFY(seasons::BedKey(QStringLiteral("北畝")) != seasons::BedKey(QStringLiteral("南畝")));
}

QTEST_APPLESS_MAIN(RotationRulesTest)
#include "rotation_rules_test.moc"
