#include "app/main_window.h"
#include "app/save_folders.h"
#include "cards/record_cards.h"
#include "crops/crop_records.h"
#include "crops/crop_tab.h"
#include "plans/plan_tab.h"
#include "purchases/purchase_records.h"
#include "purchases/purchase_tab.h"
#include "schedule/schedule_tab.h"
#include "schedule/task_records.h"
#include "settings/preferences.h"
#include "store/file_names.h"
#include "support/files.h"
#include "support/scripted_platform.h"
#include "widgets/list_view3.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDir>
#include <QHeaderView>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace testsupport;

namespace {

QStringList cropColumn(TListView3* list) {
    QStringList names;
    for (int i = 0; i < list->rowCount(); ++i)
        names << list->row(i)->text(1);
    return names;
}

// What the window is left as by the first start and found as by the second.
struct Left {
    QRect geometry{40, 30, 760, 640};
    int tab = 2;  // 作付計画
    int plan = 3; // 計画３, sakutuke3.xml
    QList<int> cropWidths{150, 90, 210, 180};
    int sortColumn = 2; // お気に入り品種
};

} // namespace

// The window is left one way by one start and found that way by the next:
// through the real preferences file in a configuration folder of the test's
// own, never in the data folder.
class WindowSettingsTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_home;
    QString m_data;

    QString configFolder() const { return m_home.path() + "/config"; }
    QStringList dataFiles() const { return QDir(m_data).entryList(QDir::Files | QDir::NoDotAndDotDot); }

    void seedCrops() {
        ScriptedPlatform platform(m_data);
        TSakumotuList seed;
        // Catalogue order differs from the order of either text column.
        const QList<std::pair<const char*, const char*>> crops = {
            {"ナス", "Senryo"}, {"キュウリ", "Natsu"}, {"トマト", "Momotaro"}};
        for (const auto& [name, variety] : crops) {
            TSakumotu* crop = seed.add();
            crop->name = QString::fromUtf8(name);
            crop->okiniiri1 = QString::fromUtf8(variety);
        }
        QVERIFY(seed.SaveToFile(platform.dataFolder(), platform));
    }

    void startLeaveAndClose(const Left& left) {
        ScriptedPlatform platform(m_data);
        platform.userPreferences = settings::Preferences(settings::Preferences::userFile());
        TForm5 window(platform);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.setGeometry(left.geometry);
        window.tabWidget()->setCurrentIndex(left.tab);
        window.planTab()->planButtons()->button(left.plan)->click();
        TListView3* crops = window.cropTab()->list();
        for (int i = 0; i < left.cropWidths.size(); ++i)
            crops->header()->resizeSection(i + 1, left.cropWidths[i]);
        window.cropTab()->HeaderClick(left.sortColumn);
        window.close();
    }

private slots:
    void init() {
        QVERIFY(m_home.isValid());
        m_data = folderOf(m_home) + "data/";
        QVERIFY(QDir().mkpath(m_data));
        qputenv("XDG_CONFIG_HOME", configFolder().toLocal8Bit());
    }

    void cleanup() {
        QDir(m_home.path()).removeRecursively();
        QVERIFY(QDir().mkpath(m_home.path()));
    }

    void preferencesLiveInTheConfigurationFolder() {
        QCOMPARE(settings::Preferences::userFile(), configFolder() + "/aobaroku/aobaroku.conf");
    }

    void secondStartFindsTheWindowAsTheFirstLeftIt() {
        seedCrops();
        const Left left;
        startLeaveAndClose(left);
        const QStringList filesAfterFirst = dataFiles();
        QVERIFY(!filesAfterFirst.contains("aobaroku.conf"));
        const QByteArray kept = readBytes(settings::Preferences::userFile());
        QVERIFY2(kept.contains("tab=2") && kept.contains("plan=3"), kept.constData());

        ScriptedPlatform platform(m_data);
        platform.userPreferences = settings::Preferences(settings::Preferences::userFile());
        TForm5 window(platform);
        QCOMPARE(window.geometry(), left.geometry);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.tabWidget()->currentIndex(), left.tab);
        QCOMPARE(window.planTab()->planButtons()->checkedId(), left.plan);
        QCOMPARE(window.context().planFile, QStringLiteral("sakutuke3.xml"));
        // The widths chosen come back as chosen; a column may still show wider for its longest text.
        QCOMPARE(window.cropTab()->list()->userColumnWidths(), left.cropWidths);
        QCOMPARE(window.cropTab()->sortColumn(), left.sortColumn);
        QCOMPARE(cropColumn(window.cropTab()->list()), QStringList({"トマト", "キュウリ", "ナス"}));
        QCOMPARE(dataFiles(), filesAfterFirst);
        QVERIFY(platform.allShown().isEmpty());
    }

    // The sort is the rows' until the list is filled again; a refill before
    // closing leaves the catalogue order to the next start.
    void aRefilledListStartsInCatalogueOrder() {
        seedCrops();
        {
            ScriptedPlatform platform(m_data);
            platform.userPreferences = settings::Preferences(settings::Preferences::userFile());
            TForm5 window(platform);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            window.cropTab()->HeaderClick(1);
            window.cropTab()->RefreshCropList();
            window.close();
        }
        ScriptedPlatform platform(m_data);
        platform.userPreferences = settings::Preferences(settings::Preferences::userFile());
        TForm5 window(platform);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(cropColumn(window.cropTab()->list()), QStringList({"ナス", "キュウリ", "トマト"}));
    }

    // A column a long text widened follows the rows; only what the user chose
    // is kept, so the next start does not hold it wide when the text is gone.
    void widthsWidenedByTheRowsAreNotKept() {
        {
            ScriptedPlatform platform(m_data);
            TSakumotuList seed;
            seed.add()->name =
                QStringLiteral("ミニトマト（アイコ・千果・シンディースイート・ピッコラルージュ）");
            QVERIFY(seed.SaveToFile(platform.dataFolder(), platform));
        }
        ScriptedPlatform platform(m_data);
        platform.userPreferences = settings::Preferences(settings::Preferences::userFile());
        TForm5 window(platform);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        TListView3* crops = window.cropTab()->list();
        QVERIFY(crops->columnWidths().at(0) > 130);
        crops->header()->resizeSection(3, 250);
        window.close();
        QCOMPARE(settings::Preferences(settings::Preferences::userFile()).list("cropList").widths,
                 QList<int>({130, 130, 250, 200}));
    }

    // A damaged or hand-edited file opens the window as at a first start.
    void valuesThatDoNotFitAreNotTaken_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("not numbers") << QByteArray("[window]\nx=a\ny=b\nwidth=c\nheight=d\ntab=e\nplan=f\n"
                                                   "[lists]\ncropList\\widths=1,x,3,4\ncropList\\sort=z\n");
        QTest::newRow("out of range") << QByteArray("[window]\nx=-90000\ny=-90000\nwidth=800\nheight=700\n"
                                                    "tab=7\nplan=9\n[lists]\ncropList\\widths=10,20\n"
                                                    "cropList\\sort=5\n");
        QTest::newRow("huge") << QByteArray("[window]\nwidth=99999999999\nheight=-1\ntab=-1\nplan=0\n"
                                            "[lists]\ncropList\\widths=0,0,0,0\n");
    }
    void valuesThatDoNotFitAreNotTaken() {
        QFETCH(QByteArray, file);
        seedCrops();
        QVERIFY(QDir().mkpath(configFolder() + "/aobaroku"));
        QVERIFY(writeBytes(settings::Preferences::userFile(), file));
        ScriptedPlatform platform(m_data);
        platform.userPreferences = settings::Preferences(settings::Preferences::userFile());
        TForm5 window(platform);
        QCOMPARE(window.size(), QSize(776, 636));
        QVERIFY(window.screen()->availableGeometry().contains(window.geometry().center()));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.tabWidget()->currentIndex(), 0);
        QCOMPARE(window.planTab()->planButtons()->checkedId(), 1);
        QCOMPARE(window.cropTab()->list()->columnWidths(), QList<int>({130, 130, 170, 200}));
        QCOMPARE(cropColumn(window.cropTab()->list()), QStringList({"ナス", "キュウリ", "トマト"}));
    }

    // Pictures open in Pictures, exports in Documents, each in the home folder
    // where that folder is missing; then each dialog where it was last used.
    void saveDialogsStartInTheUsersFolders() {
        qputenv("HOME", m_home.path().toLocal8Bit());
        QVERIFY(QDir().mkpath(m_home.path() + "/Pictures"));
        settings::Preferences preferences;
        const SaveRequest card{"cropCard", SaveKind::Picture, "トマト.jpg", {}};
        const SaveRequest csv{"cropExport", SaveKind::Export, "sakumotu.csv", {}};
        QCOMPARE(saveDialogStart(preferences, card), m_home.path() + "/Pictures/トマト.jpg");
        QCOMPARE(saveDialogStart(preferences, csv), m_home.path() + "/sakumotu.csv");
        QVERIFY(QDir().mkpath(m_home.path() + "/Documents"));
        QCOMPARE(saveDialogStart(preferences, csv), m_home.path() + "/Documents/sakumotu.csv");

        const QString blog = m_home.path() + "/blog";
        QVERIFY(QDir().mkpath(blog));
        rememberSaveFolder(preferences, card, blog + "/tomato.jpg");
        QCOMPARE(saveDialogStart(preferences, card), blog + "/トマト.jpg");
        QCOMPARE(saveDialogStart(preferences, {"taskCard", SaveKind::Picture, "種まき.jpg", {}}),
                 m_home.path() + "/Pictures/種まき.jpg");
        rememberSaveFolder(preferences, card, QString()); // cancelled: nothing changes
        QCOMPARE(saveDialogStart(preferences, card), blog + "/トマト.jpg");
        QVERIFY(QDir(blog).removeRecursively());
        QCOMPARE(saveDialogStart(preferences, card), m_home.path() + "/Pictures/トマト.jpg");
    }

    void proposedNamesComeFromTheRecord_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("proposed");
        QTest::newRow("crop") << "トマト"
                              << "トマト.jpg";
        QTest::newRow("folder separators") << "東/西\\畝"
                                           << "東_西_畝.jpg";
        QTest::newRow("Windows forbids") << "a:b*c?d\"e<f>g|h"
                                         << "a_b_c_d_e_f_g_h.jpg";
        QTest::newRow("line break") << "種まき\n二回目"
                                    << "種まき_二回目.jpg";
        QTest::newRow("dots and spaces at the ends") << " ..隠し. "
                                                     << "隠し.jpg";
        QTest::newRow("only dots") << ".."
                                   << "fallback.jpg";
        QTest::newRow("empty") << ""
                               << "fallback.jpg";
        QTest::newRow("long") << QString(100, QChar(0x3042)) << QString(60, QChar(0x3042)) + ".jpg";
        QTest::newRow("not cut inside a character")
            << QString(59, QChar('a')) + QString::fromUcs4(U"\U0002000B") << QString(59, QChar('a')) + ".jpg";
    }
    void proposedNamesComeFromTheRecord() {
        QFETCH(QString, text);
        QFETCH(QString, proposed);
        QCOMPARE(store::proposedFileName(text, ".jpg", "fallback.jpg"), proposed);
    }

    // Each card's save dialog proposes what its record is called.
    void cardsProposeTheirRecordsName() {
        ScriptedPlatform platform(m_data);
        TSakumotu crop;
        crop.name = QStringLiteral("ミニ/トマト");
        TYotei task;
        task.name = QStringLiteral("土寄せ");
        TCost cost;
        cost.nen = QStringLiteral("2026");
        cost.tuki = QStringLiteral("5");
        cost.hi = QStringLiteral("3");
        TCost undated;
        for (QDialog* card :
             std::initializer_list<QDialog*>{new TForm7(crop, platform), new TForm12(task, platform),
                                             new TForm17(cost, platform), new TForm17(undated, platform)}) {
            card->findChild<QPushButton*>("cardSaveButton")->click();
            delete card;
        }
        QCOMPARE(platform.proposedFileNames,
                 QStringList({"ミニ_トマト.jpg", "土寄せ.jpg", "2026-05-03.jpg", "kounyu.jpg"}));
        QStringList dialogs;
        for (const SaveRequest& request : platform.saveRequests)
            dialogs << request.dialog;
        QCOMPARE(dialogs, QStringList({"cropCard", "taskCard", "purchaseCard", "purchaseCard"}));
    }
};

// A desktop screen larger than the window; the offscreen platform's own is 800 by 600.
int main(int argc, char** argv) {
    QTemporaryDir dir;
    const QString screens = dir.filePath("screens.json");
    if (!writeBytes(screens, R"({"screens": [{"name": "desk", "x": 0, "y": 0, "width": 1600,
                                  "height": 1000, "logicalDpi": 96, "logicalBaseDpi": 96}]})"))
        return 1;
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + screens).toLocal8Bit());
    QApplication app(argc, argv);
    WindowSettingsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "window_settings_test.moc"
