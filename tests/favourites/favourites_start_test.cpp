#include "app/main_window.h"
#include "favourites/favourite_records.h"
#include "favourites/favourites_tab.h"
#include "okini_test_support.h"
#include "store/messages.h"
#include "support/messages.h"
#include "support/scripted_platform.h"
#include "widgets/page_view.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using okinitest::addOkini;

// The first showing of the main window loads the favourites and shows their page.
class FavouritesStartTest : public QObject {
    Q_OBJECT

private slots:
    void firstShowingLoadsAndShowsTheFavourites();
    void unreadableFavouriteStopsTheLoadingButThePageShows();
};

void FavouritesStartTest::firstShowingLoadsAndShowsTheFavourites() {
    QTemporaryDir dir;
    ScriptedPlatform platform(dir.path() + QLatin1Char('/'));
    TOkiniList seed;
    addOkini(seed, "野菜の会 & <仲間>", "http://yasai.example/", "種の話");
    addOkini(seed, "家庭菜園", "http://", "");
    QVERIFY(seed.SaveToFile(platform.dataFolder(), platform));

    TForm5 window(platform);
    QCOMPARE(window.context().okini->count(), 0);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.context().okini->count(), 2);
    QVERIFY(QFile::exists(platform.dataFolder() + kOkiniPageName));
    QCOMPARE(okinitest::paragraphs(window.favouritesTab()->pageView()),
             (QStringList{"野菜の会 & <仲間> - 種の話", "家庭菜園 - "}));
    QVERIFY(platform.allShown().isEmpty());
}

void FavouritesStartTest::unreadableFavouriteStopsTheLoadingButThePageShows() {
    QTemporaryDir dir;
    ScriptedPlatform platform(dir.path() + QLatin1Char('/'));
    QFile file(platform.dataFolder() + kOkiniFileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<?xml version=\"1.0\" encoding=\"SHIFT-JIS\"?>\r\n<data>"
               "<okini><name>first</name><url>http://one.example/</url><memo></memo></okini>"
               "<okini><name>second</name><url>http://two.example/</url></okini>"
               "<okini><name>third</name><url>http://three.example/</url><memo></memo></okini></data>");
    file.close();

    TForm5 window(platform);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(testsupport::firstLines(platform.messages),
             QStringList{QString::fromUtf8(msg::LoadFailedOkini)});
    QCOMPARE(window.context().okini->count(), 1);
    QCOMPARE(okinitest::paragraphs(window.favouritesTab()->pageView()), QStringList{"first - "});
}

QTEST_MAIN(FavouritesStartTest)
#include "favourites_start_test.moc"
