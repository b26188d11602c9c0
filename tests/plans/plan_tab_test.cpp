#include "crops/crop_dialog.h"
#include "plan_gui.h"
#include "plan_test_files.h"
#include "plans/colour_dialog.h"
#include "plans/crop_pick_dialog.h"
#include "plans/entry_dialog.h"
#include "plans/entry_pick_dialog.h"
#include "plans/group_dialog.h"
#include "plans/group_list_dialog.h"
#include "plans/plan_name_dialog.h"
#include "plans/plan_tab.h"
#include "support/messages.h"
#include "support/scripted_platform.h"
#include "widgets/app_context.h"

#include <QButtonGroup>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QTemporaryDir>

using namespace plangui;

namespace {

// The plan 春の畑: group G with A, B and C in rows 1, 2, 3 and a dummy in row 4.
const QByteArray kThreeRows = plantest::planFile(
    "<sakutuke name=\"\x8f\x74\x82\xcc\x94\xa8\">"
    "<group name=\"G\" order=\"1\">"
    "<sakumotu name=\"A\" StTuki=\"4\" StShuu=\"2\" EdTuki=\"8\" EdShuu=\"5\" ichi=\"1\" down=\"0\"/>"
    "<sakumotu name=\"B\" StTuki=\"5\" StShuu=\"1\" EdTuki=\"9\" EdShuu=\"2\" ichi=\"2\" down=\"0\"/>"
    "<sakumotu name=\"C\" StTuki=\"6\" StShuu=\"1\" EdTuki=\"9\" EdShuu=\"4\" ichi=\"3\" down=\"0\"/>"
    "<sakumotu name=\"[[[\x83\x5f\x83\x7e\x81\x5b]]]\" StTuki=\"\" StShuu=\"\" EdTuki=\"\" "
    "EdShuu=\"\" ichi=\"4\" down=\"0\"/>"
    "</group></sakutuke>");

QString pickRowAndOk(TForm6* picker, int row) {
    clickRow(picker->list(), row);
    click(picker, "okButton");
    return picker->list()->row(row)->text(2);
}

} // namespace

class PlanTabTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    TGroupList m_plan;
    TSakumotuList m_crops;
    QImage m_chart;
    AppContext m_context;
    int m_cropRefreshes = 0;
    std::unique_ptr<TPlanTab> m_tab;

    QString folder() const { return m_dir->path() + QLatin1Char('/'); }
    QString path(const char* name) const { return folder() + QString::fromLatin1(name); }
    TGroupList saved(const QString& file = QStringLiteral("sakutuke1.xml")) {
        TGroupList plan;
        plan.LoadFromFile(folder(), file, *m_platform);
        return plan;
    }
    void start() {
        m_tab = std::make_unique<TPlanTab>(m_context);
        m_tab->resize(760, 560);
        m_tab->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_tab.get()));
        m_tab->ReadPlanCaptions();
        m_tab->SpeedButtonClick();
    }
    QAbstractButton* planButton(int id) const { return m_tab->planButtons()->button(id); }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_platform = std::make_unique<ScriptedPlatform>(folder());
        m_crops.clear();
        m_crops.add()->name = kDummyCropName;
        m_crops.add()->name = QStringLiteral("ナス");
        m_cropRefreshes = 0;
        m_context = AppContext();
        m_context.platform = m_platform.get();
        m_context.plan = &m_plan;
        m_context.crops = &m_crops;
        m_context.chart = &m_chart;
        m_context.refreshCropList = [this] { ++m_cropRefreshes; };
    }
    void cleanup() { m_tab.reset(); }

    void startsWithAnEmptyChartQuietly() {
        start();
        QCOMPARE(m_chart.size(), QSize(697, 17));
        QCOMPARE(m_context.planName, QStringLiteral("計画１"));
        QCOMPARE(m_context.planFile, QStringLiteral("sakutuke1.xml"));
        QVERIFY(m_platform->allShown().isEmpty());
        QVERIFY(QDir(folder()).isEmpty());
    }

    void theFirstAddOnAnEmptyFolderWritesPlanOne() {
        start();
        onModal<TForm10>([](TForm10* picker) {
            onModal<TForm9>([](TForm9* dialog) {
                onModal<TForm1>([](TForm1* group) {
                    typeInto(group, "groupNameEdit", QStringLiteral("畝A"));
                    click(group, "okButton");
                });
                click(dialog, "groupAddButton");
                choose(child<QComboBox>(dialog, "stTukiCombo"), "4");
                choose(child<QComboBox>(dialog, "stShuuCombo"), "2");
                choose(child<QComboBox>(dialog, "edTukiCombo"), "8");
                choose(child<QComboBox>(dialog, "edShuuCombo"), "5");
                click(dialog, "okButton");
            });
            QTest::mouseClick(picker->list()->viewport(), Qt::LeftButton, {},
                              picker->list()->visualItemRect(picker->list()->item(1)).center());
            click(picker, "okButton");
        });
        click(m_tab.get(), "planAddButton");
        const TGroupList plan = saved();
        QCOMPARE(plan.name, QStringLiteral("計画１"));
        QCOMPARE(plan.count(), 1);
        QCOMPARE(rowsOf(plan.at(0)), QStringList{"ナス:1"});
        QCOMPARE(m_chart.size(), QSize(697, 75));
        QCOMPARE(m_cropRefreshes, 1);
        QVERIFY(m_platform->allShown().isEmpty());
    }

    void aCancelledPickerStillRefreshesTheCropsItAdded() {
        start();
        onModal<TForm10>([](TForm10* picker) {
            onModal<TForm2>([](TForm2* form) {
                typeInto(form, "nameEdit", QStringLiteral("ゴーヤ"));
                for (const char* spacing : {"joukanEdit", "kabukan1Edit", "kabukan2Edit"})
                    typeInto(form, spacing, QStringLiteral("60"));
                click(form, "okButton");
            });
            click(picker, "addCropButton");
            click(picker, "cancelButton");
        });
        click(m_tab.get(), "planAddButton");
        QCOMPARE(m_cropRefreshes, 1);
        QCOMPARE(m_crops.count(), 3);
        QVERIFY(!QFile::exists(path("sakutuke1.xml")));
    }

    void renamingChangesTheCaptionAndTheFile() {
        start();
        planButton(2)->click();
        QCOMPARE(m_context.planFile, QStringLiteral("sakutuke2.xml"));
        onModal<TForm42>([](TForm42* dialog) {
            QCOMPARE(child<QLabel>(dialog, "oldNameLabel")->text(), QStringLiteral("計画２"));
            typeInto(dialog, "newNameEdit", QStringLiteral("春の畑"));
            click(dialog, "okButton");
        });
        click(m_tab.get(), "planRenameButton");
        QCOMPARE(planButton(2)->text(), QStringLiteral("春の畑"));
        QCOMPARE(m_context.planName, QStringLiteral("春の畑"));
        QCOMPARE(ReadPlanName(folder(), QStringLiteral("sakutuke2.xml"), *m_platform),
                 QStringLiteral("春の畑"));
    }

    void renamingRefusesAnEmptyName() {
        start();
        bool stayedOpen = false;
        onModal<TForm42>([&stayedOpen](TForm42* dialog) {
            click(dialog, "okButton");
            stayedOpen = dialog->isVisible();
        });
        click(m_tab.get(), "planRenameButton");
        QVERIFY(stayedOpen);
        QCOMPARE(m_platform->messages, QStringList{"作付計画名を入力してください。"});
        QCOMPARE(planButton(1)->text(), QStringLiteral("計画１"));
        QVERIFY(!QFile::exists(path("sakutuke1.xml")));
    }

    void aColourIsSavedAndDrawnWhileTheDialogIsOpen() {
        QVERIFY(plantest::writeBytes(path("sakutuke1.xml"), kThreeRows));
        start();
        QCOMPARE(m_chart.pixelColor(50, 10), QColor(Qt::white));
        QByteArray fileWhileOpen;
        QColor chartWhileOpen;
        QColor swatchWhileOpen;
        bool stayedOpen = false;
        m_platform->colours.enqueue(QColor(Qt::black));
        onModal<TForm45>([&](TForm45* dialog) {
            QCOMPARE(dialog->swatchColour(3), QColor(Qt::white));
            click(dialog, "colourButton4");
            fileWhileOpen = plantest::readBytes(path("sakutuke1.xml"));
            chartWhileOpen = m_chart.pixelColor(50, 10);
            swatchWhileOpen = dialog->swatchColour(3);
            stayedOpen = dialog->isVisible();
        });
        click(m_tab.get(), "planColourButton");
        QVERIFY(stayedOpen);
        QVERIFY(fileWhileOpen.contains("HaikeiColor=\"0\""));
        QCOMPARE(chartWhileOpen, QColor(Qt::black));
        QCOMPARE(swatchWhileOpen, QColor(Qt::black));
        QCOMPARE(saved().name, QString::fromUtf8("春の畑"));
    }

    void aCancelledColourChangesNothing() {
        start();
        onModal<TForm45>([](TForm45* dialog) { click(dialog, "colourButton1"); });
        click(m_tab.get(), "planColourButton");
        QVERIFY(!QFile::exists(path("sakutuke1.xml")));
    }

    void aPlanWithoutNameIsSavedUnderItsCaption() {
        QVERIFY(plantest::writeBytes(path("sakutuke3.xml"), plantest::planFile("<sakutuke name=\"\"/>")));
        start();
        planButton(3)->click();
        m_platform->colours.enqueue(QColor(255, 0, 0));
        onModal<TForm45>([](TForm45* dialog) { click(dialog, "colourButton2"); });
        click(m_tab.get(), "planColourButton");
        const TGroupList plan = saved(QStringLiteral("sakutuke3.xml"));
        QCOMPARE(plan.name, QStringLiteral("計画３"));
        QCOMPARE(plan.MojiColor, 255);
    }

    void removingTheOnlyEntryOfRowTwoClosesTheGap() {
        QVERIFY(plantest::writeBytes(path("sakutuke1.xml"), kThreeRows));
        start();
        QString picked;
        onModal<TForm6>([&picked](TForm6* picker) { picked = pickRowAndOk(picker, 1); });
        click(m_tab.get(), "planDeleteButton");
        QCOMPARE(picked, QStringLiteral("2行目 B（5月1週～9月2週）"));
        QCOMPARE(m_platform->questions, QStringList{"G から B を削除します。よろしいですか？"});
        QCOMPARE(rowsOf(saved().at(0)), QStringList({"A:1", "C:2", "[[[ダミー]]]:3"}));
        QCOMPARE(m_cropRefreshes, 1);
        QCOMPARE(m_chart.height(), 17 + 3 * 28 + 30);
    }

    void removingADummyAsksByTheDummyName() {
        QVERIFY(plantest::writeBytes(path("sakutuke1.xml"), kThreeRows));
        start();
        m_platform->answers.enqueue(false);
        onModal<TForm6>([](TForm6* picker) { pickRowAndOk(picker, 3); });
        click(m_tab.get(), "planDeleteButton");
        QCOMPARE(m_platform->questions, QStringList{"G から ダミー を削除します。よろしいですか？"});
        QCOMPARE(plantest::readBytes(path("sakutuke1.xml")), kThreeRows);
        QCOMPARE(m_cropRefreshes, 0);
    }

    void changingAnEntryWhoseCropWasDeleted() {
        QVERIFY(plantest::writeBytes(path("sakutuke1.xml"), kThreeRows));
        start();
        QString caption;
        int references = -1;
        onModal<TForm6>([&](TForm6* picker) {
            onModal<TForm9>([&](TForm9* dialog) {
                caption = dialog->windowTitle();
                references = child<QListWidget>(dialog, "referenceList")->count();
                choose(child<QComboBox>(dialog, "edTukiCombo"), "10");
                click(dialog, "okButton");
            });
            pickRowAndOk(picker, 2);
        });
        click(m_tab.get(), "planChangeButton");
        QCOMPARE(caption, QStringLiteral("作付計画の変更（C）"));
        QCOMPARE(references, 0);
        QCOMPARE(saved().at(0)->at(2)->EdTuki, QStringLiteral("10"));
        QCOMPARE(m_cropRefreshes, 1);
    }

    void theGroupListRedrawsOnlyAfterAChange() {
        QVERIFY(plantest::writeBytes(path("sakutuke1.xml"), kThreeRows));
        start();
        const qint64 before = m_chart.cacheKey();
        onModal<TForm3>([](TForm3*) {});
        click(m_tab.get(), "planGroupButton");
        QCOMPARE(m_chart.cacheKey(), before);
        QCOMPARE(m_cropRefreshes, 0);
        onModal<TForm3>([](TForm3* dialog) {
            clickRow(dialog->list(), 0);
            click(dialog, "groupDeleteButton");
        });
        click(m_tab.get(), "planGroupButton");
        QCOMPARE(m_chart.size(), QSize(697, 17));
        QCOMPARE(m_cropRefreshes, 1);
        QCOMPARE(saved().count(), 0);
    }

    void theButtonThatIsDownReloadsThePlan() {
        QVERIFY(plantest::writeBytes(path("sakutuke1.xml"), kThreeRows));
        start();
        m_plan.add()->name = QStringLiteral("unsaved");
        planButton(1)->click();
        QVERIFY(planButton(1)->isChecked());
        QCOMPARE(m_plan.count(), 1);
        QCOMPARE(m_plan.at(0)->name, QStringLiteral("G"));
    }

    void theSampleButtonUsesFileFour() {
        start();
        planButton(8)->click();
        QCOMPARE(m_context.planName, QStringLiteral("サンプル"));
        QCOMPARE(m_context.planFile, QStringLiteral("sakutuke4.xml"));
        planButton(4)->click();
        QCOMPARE(m_context.planFile, QStringLiteral("sakutuke5.xml"));
    }

    void theChartAreaShowsTheImageAtItsSize() {
        QVERIFY(plantest::writeBytes(path("sakutuke1.xml"), kThreeRows));
        start();
        QWidget* box = m_tab->chartArea()->widget();
        QCOMPARE(box->size(), m_chart.size());
        const QImage shown = box->grab().toImage();
        QCOMPARE(shown.pixelColor(100, 30), m_chart.pixelColor(100, 30));
        QCOMPARE(shown.pixelColor(0, 0), m_chart.pixelColor(0, 0));
    }

    void savesTheChartOfAnEmptyPlanAsJpeg() {
        start();
        m_platform->saveAs = path("chart");
        click(m_tab.get(), "planSaveImageButton");
        QImageReader reader(path("chart"));
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        QCOMPARE(reader.size(), QSize(697, 17));
        m_platform->saveAs.clear();
        click(m_tab.get(), "planSaveImageButton");
        // Each time the plan's own name, in the folder the dialog keeps.
        QCOMPARE(m_platform->proposedFileNames, QStringList({"計画１.jpg", "計画１.jpg"}));
        QCOMPARE(m_platform->saveRequests.value(0).dialog, QStringLiteral("chartImage"));
        QCOMPARE(m_platform->saveRequests.value(0).kind, SaveKind::Picture);
        QVERIFY(m_platform->allShown().isEmpty());
    }

    void aJpegThatCannotBeWrittenReachesTheErrorBox() {
        start();
        m_platform->saveAs = path("missing/chart.jpg");
        click(m_tab.get(), "planSaveImageButton");
        QCOMPARE(m_platform->errors.size(), 1);
        QVERIFY(m_platform->messages.isEmpty());
        QCOMPARE(m_chart.size(), QSize(697, 17));
    }

    void theChartIsNeverSavedOverAPlanFile() {
        QVERIFY(plantest::writeBytes(path("sakutuke1.xml"), kThreeRows));
        start();
        m_platform->saveAs = path("sakutuke1.xml");
        click(m_tab.get(), "planSaveImageButton");
        QCOMPARE(m_platform->errors.size(), 1);
        QVERIFY(m_platform->errors.first().endsWith("青葉録のデータファイルには保存できません。"));
        QFile plan(path("sakutuke1.xml"));
        QVERIFY(plan.open(QIODevice::ReadOnly));
        QCOMPARE(plan.readAll(), kThreeRows);
    }

    void aPlanThatFailedToLoadIsKeptAsideBeforeItIsOverwritten() {
        const QByteArray broken = plantest::planFile(
            "<sakutuke name=\"x\"><group name=\"G\" order=\"1\"/><group name=\"H\" order=\"z\"/></sakutuke>");
        QVERIFY(plantest::writeBytes(path("sakutuke1.xml"), broken));
        start();
        QCOMPARE(testsupport::firstLines(m_platform->messages),
                 QStringList{"データの読み込みに失敗しました。"});
        QCOMPARE(m_plan.count(), 1);
        m_platform->colours.enqueue(QColor(Qt::black));
        onModal<TForm45>([](TForm45* dialog) { click(dialog, "colourButton1"); });
        click(m_tab.get(), "planColourButton");
        const QStringList aside = QDir(folder()).entryList({"sakutuke1.xml.unreadable-*"});
        QCOMPARE(aside.size(), 1);
        QCOMPARE(plantest::readBytes(folder() + aside.first()), broken);
        QCOMPARE(saved().count(), 1);
    }
};

QTEST_MAIN(PlanTabTest)
#include "plan_tab_test.moc"
