#include "app/main_window.h"
#include "crops/crop_records.h"
#include "crops/crop_tab.h"
#include "plans/plan_tab.h"
#include "purchases/purchase_records.h"
#include "purchases/purchase_tab.h"
#include "schedule/schedule_tab.h"
#include "schedule/task_records.h"
#include "support/page_reading.h"
#include "support/scripted_platform.h"
#include "widgets/list_view3.h"
#include "widgets/page_view.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void opensOnFirstTabWithEmptyDataFolderQuietly() {
        QTemporaryDir dir;
        ScriptedPlatform platform(dir.path() + '/');
        QStringList shownFiles;
        {
            TForm5 window(platform);
            window.tabWidget()->setCurrentIndex(3);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(window.windowTitle(), QStringLiteral("青葉録 Ver.1.8.0"));
            QCOMPARE(window.tabWidget()->currentIndex(), 0);
            QCOMPARE(window.cropTab()->list()->rowCount(), 0);
            QCOMPARE(window.context().crops->count(), 1);
            QCOMPARE(window.context().crops->at(0)->name, kDummyCropName);
            // Only the generated favourites page is written to show it; no data file.
            shownFiles = QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot);
            QCOMPARE(shownFiles, QStringList({"OkiniList.html"}));
            window.close();
        }
        QVERIFY(platform.allShown().isEmpty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::NoDotAndDotDot), shownFiles);
    }

    void hasTheEightTabsInOrder() {
        QTemporaryDir dir;
        ScriptedPlatform platform(dir.path() + '/');
        TForm5 window(platform);
        const QStringList expected = {"菜園情報", "作物一覧",   "作付計画", "予定",
                                      "購入履歴", "収穫・日誌", "オススメ", "お気に入り"};
        QStringList captions;
        for (int i = 0; i < window.tabWidget()->count(); ++i)
            captions << window.tabWidget()->tabText(i);
        QCOMPARE(captions, expected);
        QCOMPARE(window.size(), QSize(776, 636));
    }

    void planButtonsStartWithTheFirstDown() {
        QTemporaryDir dir;
        ScriptedPlatform platform(dir.path() + '/');
        TForm5 window(platform);
        QButtonGroup* group = window.planTab()->planButtons();
        QCOMPARE(group->buttons().size(), 8);
        QVERIFY(group->exclusive());
        QCOMPARE(group->checkedButton(), group->button(1));
        QCOMPARE(group->button(8)->text(), QStringLiteral("サンプル"));
    }

    void listsTheCatalogueWithoutTheDummy() {
        QTemporaryDir dir;
        ScriptedPlatform platform(dir.path() + '/');
        TSakumotuList seed;
        seed.add()->name = QStringLiteral("トマト");
        seed.add()->name = QStringLiteral("ナス");
        QVERIFY(seed.SaveToFile(platform.dataFolder(), platform));
        TForm5 window(platform);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        TListView3* list = window.cropTab()->list();
        QCOMPARE(list->rowCount(), 2);
        QCOMPARE(list->row(0)->text(1), QStringLiteral("トマト"));
        QCOMPARE(list->CheckedCount(), 0);
    }

    // The site's pages come from the site folder beside the executable.
    void siteTabsShowTheirPagesHeadings() {
        QTemporaryDir dir;
        ScriptedPlatform platform(dir.path() + '/');
        TForm5 window(platform);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        for (const auto& [name, heading] :
             {std::pair{"infoBrowser", "青葉録へようこそ"}, std::pair{"osusumeBrowser", "季節のオススメ"}}) {
            auto* view = window.findChild<PageView*>(name);
            QVERIFY(view);
            QCOMPARE(testsupport::paragraphs(view).value(0), QString::fromUtf8(heading));
            QCOMPARE(view->document()->begin().blockFormat().headingLevel(), 1);
        }
        QVERIFY(platform.allShown().isEmpty());
    }

    // A reload after an undo destroys every record of a file before it reads the
    // file again; a damaged file's message lets the window repaint meanwhile.
    void reloadLetsTheListsGoBeforeReading() {
        QTemporaryDir dir;
        ScriptedPlatform platform(dir.path() + '/');
        TCostList costs;
        costs.add()->nen = QStringLiteral("2014");
        TYoteiList tasks;
        tasks.add()->name = QStringLiteral("種まき");
        QVERIFY(costs.SaveToFile(platform.dataFolder(), platform) &&
                tasks.SaveToFile(platform.dataFolder(), platform));
        TForm5 window(platform);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.scheduleTab()->filters()->button(4)->click(); // すべて
        QCOMPARE(window.purchaseTab()->list()->rowCount(), 1);
        QCOMPARE(window.scheduleTab()->list()->rowCount(), 1);

        for (const QString& name : {kCostFileName, kYoteiFileName}) {
            QFile broken(platform.dataFolder() + name);
            QVERIFY(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
            broken.write("<data><cost");
        }
        QStringList stale;
        platform.whileMessageShown = [&] {
            const auto check = [&stale](TListView3* list, auto isLive) {
                for (int i = 0; i < list->rowCount(); ++i)
                    if (!isLive(list->row(i).data()))
                        stale << list->objectName();
            };
            check(window.purchaseTab()->list(), [&](const void* r) {
                return window.context().costs->indexOf(static_cast<const TCost*>(r)) >= 0;
            });
            check(window.scheduleTab()->list(), [&](const void* r) {
                return window.context().tasks->indexOf(static_cast<const TYotei*>(r)) >= 0;
            });
            window.grab();
        };
        window.ReloadData({kCostFileName, kYoteiFileName});
        QCOMPARE(platform.messages.size(), 2);
        QCOMPARE(stale, QStringList());
    }

    void helpButtonOpensTheHelpPage() {
        QTemporaryDir dir;
        ScriptedPlatform platform(dir.path() + '/');
        TForm5 window(platform);
        auto* help = window.findChild<QAbstractButton*>("helpButton");
        QVERIFY(help);
        QCOMPARE(help->focusPolicy(), Qt::NoFocus);
        help->click();
        QCOMPARE(platform.openedUrls.size(), 1);
        QVERIFY(platform.openedUrls.first().endsWith("?page_id=115"));
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
