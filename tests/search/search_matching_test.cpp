#include "crops/crop_records.h"
#include "favourites/favourite_records.h"
#include "plans/plan_records.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"
#include "search/record_search.h"
#include "search/search_text.h"
#include "support/files.h"

#include <QTemporaryDir>
#include <QtTest>

using search::Query;

namespace {

TSakumotu2* addEntry(TGroup& group, const QString& name, int ichi, const QString& from, const QString& to) {
    TSakumotu2* entry = group.add();
    entry->name = name;
    entry->ichi = ichi;
    entry->StTuki = from;
    entry->StShuu = QStringLiteral("1");
    entry->EdTuki = to;
    entry->EdShuu = QStringLiteral("4");
    return entry;
}

QStringList titles(const search::Found& found) {
    QStringList out;
    for (const search::Hit& hit : found.hits)
        out << hit.title + QLatin1Char('|') + hit.detail;
    return out;
}

} // namespace

// The search's matching rule and its finders, without a window.
class SearchMatchingTest : public QObject {
    Q_OBJECT
private slots:
    void matchesWhateverTheKanaWidthOrCase_data();
    void matchesWhateverTheKanaWidthOrCase();
    void wordsMayLieInDifferentTextsButNotAcrossThem();
    void cropsByAnyTextWithoutTheDummy();
    void purchaseLinesNewestFirstWithDateAndAmount();
    void keepsTheFirstHitsAndCountsTheRest();
    void tasksAndFavourites();
    void planEntriesOfAllEightPlansInButtonOrder();
};

void SearchMatchingTest::matchesWhateverTheKanaWidthOrCase_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("found");
    const auto row = [](const char* name, const QString& text, const char* typed, bool found) {
        QTest::newRow(name) << text << QString::fromUtf8(typed) << found;
    };
    row("hiragana finds katakana", QStringLiteral("トマト"), "とまと", true);
    row("katakana finds hiragana", QStringLiteral("とまと"), "トマト", true);
    row("half-width katakana", QStringLiteral("トマト"), "ﾄﾏﾄ", true);
    row("stored half width, typed full", QStringLiteral("ﾐﾆﾄﾏﾄ"), "ミニトマト", true);
    row("half-width voiced mark joins", QStringLiteral("ドクダミ"), "ﾄﾞｸﾀﾞﾐ", true);
    row("half-width semi-voiced mark joins", QStringLiteral("ピーマン"), "ﾋﾟｰﾏﾝ", true);
    row("half-width vu", QStringLiteral("ヴィオラ"), "ｳﾞｨｵﾗ", true);
    row("half-width wa with mark", QStringLiteral("ヷ"), "ﾜﾞ", true);
    row("combining mark joins", QString::fromUtf8("と\u3099まと"), "ドマト", true);
    row("voiced is not plain", QStringLiteral("トマト"), "どまと", false);
    row("semi-voiced is not voiced", QStringLiteral("パセリ"), "ばせり", false);
    row("half-width long vowel", QStringLiteral("ゴーヤ"), "ｺﾞｰﾔ", true);
    row("small kana", QStringLiteral("キュウリ"), "きゅうり", true);
    row("full-width latin", QStringLiteral("ＢＢＱ用"), "bbq", true);
    row("case", QStringLiteral("Tomato"), "TOMATO", true);
    row("full-width digits and letters", QStringLiteral("支柱 150cm"), "１５０ｃｍ", true);
    row("part of a name", QStringLiteral("大玉トマト"), "玉とま", true);
    row("ideographic space parts words, any order", QStringLiteral("苗 ミニトマト"), "ミニ　苗", true);
    row("a missing word fails", QStringLiteral("苗 トマト"), "トマト 種", false);
    row("empty", QStringLiteral("トマト"), "", false);
    row("blanks only", QStringLiteral("トマト"), "　 \t", false);
    row("other name", QStringLiteral("ナス"), "トマト", false);
    row("kanji as typed", QStringLiteral("化成肥料"), "肥料", true);
}

void SearchMatchingTest::matchesWhateverTheKanaWidthOrCase() {
    QFETCH(QString, text);
    QFETCH(QString, typed);
    QFETCH(bool, found);
    QCOMPARE(Query(typed).matches(text), found);
}

void SearchMatchingTest::wordsMayLieInDifferentTextsButNotAcrossThem() {
    const QStringView crop[] = {u"トマト", u"ナス科"};
    QVERIFY(Query(u"なす とまと").matches(crop));
    const QStringView split[] = {u"トマ", u"ト"};
    QVERIFY(!Query(u"トマト").matches(split));
}

void SearchMatchingTest::cropsByAnyTextWithoutTheDummy() {
    TSakumotuList crops;
    crops.add()->name = kDummyCropName;
    TSakumotu* tomato = crops.add();
    tomato->name = QStringLiteral("トマト");
    tomato->kamoku = QStringLiteral("ナス科");
    tomato->okiniiri1 = QStringLiteral("桃太郎");
    TSakumotu* eggplant = crops.add();
    eggplant->name = QStringLiteral("ナス");
    eggplant->memo = QStringList{QStringLiteral("一番果は早めに"), QStringLiteral("ﾏﾙﾁを敷く")};

    QCOMPARE(titles(search::findCrops(crops, Query(u"なす"))),
             (QStringList{"トマト|ナス科　桃太郎", "ナス|"}));
    const search::Found byMemo = search::findCrops(crops, Query(u"マルチ"));
    QCOMPARE(byMemo.total, 1);
    QCOMPARE(byMemo.hits[0].record, eggplant);
    QCOMPARE(search::findCrops(crops, Query(u"ダミー")).total, 0);
}

void SearchMatchingTest::purchaseLinesNewestFirstWithDateAndAmount() {
    TCostList costs;
    for (const auto& [year, name, amount] :
         {std::tuple("2013", "トマト苗", "300"), std::tuple("2014", "培養土", "980"),
          std::tuple("2014", "ミニトマト 苗", "1500")}) {
        TCost* cost = costs.add();
        cost->nen = QString::fromUtf8(year);
        cost->tuki = QStringLiteral("5");
        cost->hi = QStringLiteral("3");
        TSina* line = cost->sina.add();
        line->name = QString::fromUtf8(name);
        line->kingaku = QString::fromUtf8(amount);
    }
    TSina* second = costs.at(1)->sina.add();
    second->name = QStringLiteral("トマトの支柱");
    second->kingaku = QStringLiteral("2000");

    const search::Found found = search::findPurchaseLines(costs, Query(u"ﾄﾏﾄ"));
    QCOMPARE(titles(found), (QStringList{"ミニトマト 苗|2014/5/3　1,500円", "トマトの支柱|2014/5/3　2,000円",
                                         "トマト苗|2013/5/3　300円"}));
    QCOMPARE(found.hits[1].record, costs.at(1));
}

void SearchMatchingTest::keepsTheFirstHitsAndCountsTheRest() {
    TCostList costs;
    for (int i = 0; i < search::kMostShown + 100; ++i) {
        TCost* cost = costs.add();
        cost->nen = QStringLiteral("2020");
        cost->sina.add()->name = QStringLiteral("種");
    }
    const search::Found found = search::findPurchaseLines(costs, Query(u"種"));
    QCOMPARE(found.total, search::kMostShown + 100);
    QCOMPARE(int(found.hits.size()), search::kMostShown);
    QCOMPARE(found.hits.front().record, costs.at(costs.count() - 1));
}

void SearchMatchingTest::tasksAndFavourites() {
    TYoteiList tasks;
    TYotei* sowing = tasks.add();
    sowing->name = QStringLiteral("ナスの種まき");
    sowing->tuki = QStringLiteral("3");
    sowing->shuu = QStringLiteral("2");
    TYotei* staking = tasks.add();
    staking->name = QStringLiteral("支柱立て");
    staking->tuki = QStringLiteral("5");
    staking->shuu = QStringLiteral("1");
    staking->state = kYoteiDone;
    staking->note = QStringList{QStringLiteral("トマトとナス")};
    QCOMPARE(titles(search::findTasks(tasks, Query(u"なす"))),
             (QStringList{"ナスの種まき|3月2週", "支柱立て|5月1週　完了"}));

    TOkiniList okini;
    TOkini* club = okini.add();
    club->name = QStringLiteral("野菜の会");
    club->url = QStringLiteral("https://yasai.example/Tomato");
    TOkini* other = okini.add();
    other->name = QStringLiteral("園芸日記");
    other->memo = QStringLiteral("トマトの育て方");
    const search::Found found = search::findFavourites(okini, Query(u"TOMATO"));
    QCOMPARE(titles(found), QStringList{"野菜の会|https://yasai.example/Tomato"});
    QCOMPARE(search::findFavourites(okini, Query(u"とまと")).hits[0].record, other);
}

// The plan on show is searched as the window holds it; the others as their
// files hold them, captioned as their buttons are, in the buttons' order.
void SearchMatchingTest::planEntriesOfAllEightPlansInButtonOrder() {
    QTemporaryDir dir;
    const QString folder = testsupport::folderOf(dir);
    store::RecordingSink sink;
    TGroupList sample;
    TGroup* field = sample.add();
    field->name = QStringLiteral("畑");
    addEntry(*field, QStringLiteral("トマト"), 1, QStringLiteral("5"), QStringLiteral("8"));
    QVERIFY(sample.SaveToFile(folder, QStringLiteral("見本"), QStringLiteral("sakutuke4.xml"), sink));
    TGroupList second;
    TGroup* late = second.add();
    late->name = QStringLiteral("西の畝");
    late->order = 2;
    TGroup* early = second.add();
    early->name = QStringLiteral("東の畝");
    early->order = 1;
    addEntry(*late, QStringLiteral("ミニトマト"), 1, QStringLiteral("4"), QStringLiteral("9"));
    addEntry(*early, QStringLiteral("ナス"), 2, QStringLiteral("5"), QStringLiteral("9"));
    addEntry(*early, QStringLiteral("トマト"), 1, QStringLiteral("5"), QStringLiteral("9"));
    QVERIFY(second.SaveToFile(folder, QString(), QStringLiteral("sakutuke2.xml"), sink));
    // What the file of the plan on show holds is not what is searched.
    QVERIFY(second.SaveToFile(folder, QStringLiteral("古い"), QStringLiteral("sakutuke1.xml"), sink));

    TGroupList current;
    TGroup* bed = current.add();
    bed->name = QStringLiteral("南の畝");
    addEntry(*bed, kDummyCropName, 1, QString(), QString());
    addEntry(*bed, QStringLiteral("とまと"), 2, QStringLiteral("6"), QStringLiteral("7"));
    current.Layout();

    search::PlanShelf shelf;
    shelf.load(folder, current, QStringLiteral("sakutuke1.xml"), QStringLiteral("春の畑"), sink);
    QVERIFY(sink.messages.isEmpty());
    const search::Found found = shelf.find(Query(u"トマト"));
    QCOMPARE(titles(found),
             (QStringList{"とまと|春の畑・南の畝　6月1週～7月4週", "トマト|計画２・東の畝　5月1週～9月4週",
                          "ミニトマト|計画２・西の畝　4月1週～9月4週", "トマト|見本・畑　5月1週～8月4週"}));
    // Each hit names its plan and the entry's place there in chart order.
    const search::Hit& hit = found.hits[1];
    QCOMPARE(hit.planFile, QStringLiteral("sakutuke2.xml"));
    TGroupList reread;
    QVERIFY(reread.LoadFromFile(folder, hit.planFile, sink));
    reread.Layout();
    QCOMPARE(reread.at(hit.group)->at(hit.entry)->name, QStringLiteral("トマト"));
    QCOMPARE(reread.at(hit.group)->name, QStringLiteral("東の畝"));
    QCOMPARE(found.hits[0].group, 0);
    QCOMPARE(found.hits[0].entry, 1);
    QCOMPARE(shelf.find(Query(u"ダミー")).total, 0);
}

QTEST_GUILESS_MAIN(SearchMatchingTest)
#include "search_matching_test.moc"
