#include "app/main_window.h"
#include "cards/card_window.h"
#include "cards/record_cards.h"
#include "crops/crop_records.h"
#include "exports/export_menu.h"
#include "harvest/harvest_book.h"
#include "plans/plan_records.h"
#include "plans/plan_tab.h"
#include "purchases/purchase_chart_window.h"
#include "purchases/purchase_records.h"
#include "purchases/purchase_tab.h"
#include "schedule/task_records.h"
#include "support/files.h"
#include "support/scripted_platform.h"
#include "widgets/app_context.h"
#include "widgets/list_view3.h"

#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

using testsupport::readBytes;

namespace {

void addCost(TCostList& costs, const QString& nen, const QString& tuki, const QString& kingaku) {
    TCost* cost = costs.add();
    cost->nen = nen;
    cost->tuki = tuki;
    cost->hi = "1";
    cost->sina.add()->kingaku = kingaku;
}

// As a pick from the list does, the change is announced.
void choose(QComboBox* box, const QString& text) {
    QVERIFY2(box->findText(text) >= 0, qPrintable(text));
    box->setCurrentIndex(box->findText(text));
}

QList<qint64> totals(const TPurchaseChartWindow* window) {
    QList<qint64> list;
    for (const ChartBar& bar : window->bars())
        list << bar.total;
    return list;
}

QBarSet* barSet(const TPurchaseChartWindow* window) {
    auto* series = qobject_cast<QBarSeries*>(window->chart()->series().value(0));
    return series ? series->barSets().value(0) : nullptr;
}

} // namespace

class ExportWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }
    void init();
    void cleanup();

    void cornerHoldsExportLeftOfHelp();
    void eachExportProposesItsNameAndSaysHowMany_data();
    void eachExportProposesItsNameAndSaysHowMany();
    void purchasesExportTheTabsFilters();
    void cancelledOrUnwritableWritesNothing();
    void noSaveReplacesTheNotebookThroughALink();
    void chartButtonSitsInTheFilterRow();
    void chartShowsYearsThenMonthsOfTheChosenYear();
    void chartFollowsChangesToThePurchases();
    void hoveringABarShowsItsAmount();
    void yearLabelsTurnWhenTheyDoNotFitSideBySide();
    void chartSavesPngOrJpegByExtension();

private:
    TPurchaseChartWindow* openChart();
    void startPurchases();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    TSakumotuList m_crops;
    TYoteiList m_tasks;
    TCostList m_costs;
    THarvestBook m_harvest;
    AppContext m_context;
    std::unique_ptr<TPurchaseTab> m_tab;
    QString m_year = kCostAllEntries;
    QString m_month = kCostAllEntries;
    std::unique_ptr<TExportButton> m_button;
};

void ExportWindowsTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<ScriptedPlatform>(m_dir->path() + '/');
    m_platform->date = QDate(2015, 1, 10);
    m_crops.clear();
    m_crops.add()->name = kDummyCropName;
    m_crops.add()->name = "トマト";
    m_tasks.clear();
    for (const char* tuki : {"4", "x"}) {
        TYotei* task = m_tasks.add();
        task->name = "種まき";
        task->tuki = tuki;
        task->shuu = "1";
    }
    m_costs.clear();
    addCost(m_costs, "2013", "12", "300");
    addCost(m_costs, "2014", "5", "1500");
    addCost(m_costs, "2014", "5", "0500");
    addCost(m_costs, "2014", "7", "3000000000");
    m_context = AppContext{};
    m_context.platform = m_platform.get();
    m_context.crops = &m_crops;
    m_context.tasks = &m_tasks;
    m_context.costs = &m_costs;
    m_harvest = THarvestBook{};
    TShukaku* picked = m_harvest.shukaku.add();
    picked->date = QDate(2014, 7, 1);
    picked->crop = "トマト";
    picked->ryou = "1.5";
    picked->tani = "kg";
    m_harvest.nikki.add()->date = QDate(2014, 7, 2);
    m_context.harvest = &m_harvest;
    m_button = std::make_unique<TExportButton>(m_context, [this] { return std::pair(m_year, m_month); });
    m_tab = std::make_unique<TPurchaseTab>(m_context);
    m_tab->resize(776, 600);
    m_tab->show();
}

void ExportWindowsTest::cleanup() {
    m_tab.reset();
    m_button.reset();
    m_platform.reset();
    m_dir.reset();
}

void ExportWindowsTest::startPurchases() {
    m_tab->RebuildYears();
    m_tab->YearChanged();
}

TPurchaseChartWindow* ExportWindowsTest::openChart() {
    QTest::mouseClick(m_tab->findChild<QPushButton*>("costChartButton"), Qt::LeftButton);
    return m_tab->findChild<TPurchaseChartWindow*>();
}

void ExportWindowsTest::cornerHoldsExportLeftOfHelp() {
    TForm5 window(*m_platform);
    QWidget* corner = window.tabWidget()->cornerWidget(Qt::TopRightCorner);
    QVERIFY(corner);
    auto* row = qobject_cast<QHBoxLayout*>(corner->layout());
    QWidget* exports = corner->findChild<QToolButton*>("exportButton");
    QVERIFY(exports);
    QCOMPARE(exports->property("text").toString(), QStringLiteral("書き出し"));
    QCOMPARE(row->indexOf(corner->findChild<QWidget*>("helpButton")), row->count() - 1);
    QVERIFY(row->indexOf(exports) < row->count() - 1);
    QStringList captions;
    for (QAction* action : static_cast<QToolButton*>(exports)->menu()->actions())
        captions << action->text();
    QCOMPARE(captions, (QStringList{"カレンダー (.ics)", "購入履歴 (CSV)", "作物一覧 (CSV)", "収穫 (CSV)",
                                    "日誌 (CSV)", "カレンダーを自動で書き出す…"}));
}

void ExportWindowsTest::eachExportProposesItsNameAndSaysHowMany_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QByteArray>("begins");
    QTest::newRow("calendar")
        << "exportCalendarAction"
        << "yotei.ics"
        << "予定 1件をカレンダーに書き出しました。月か週が正しくない予定 1件は書き出していません。"
        << QByteArray("BEGIN:VCALENDAR\r\n");
    QTest::newRow("purchases") << "exportPurchasesAction"
                               << "kounyu.csv"
                               << "購入履歴 4件（4行）を書き出しました。"
                               << QByteArray("\xEF\xBB\xBF日付,購入内容,金額\r\n2013/12/1,,300\r\n");
    QTest::newRow("crops") << "exportCropsAction"
                           << "sakumotu.csv"
                           << "作物 1件を書き出しました。"
                           << QByteArray("\xEF\xBB\xBF作物名,科目,お気に入り品種1,お気に入り品種2,条間(cm),");
    QTest::newRow("harvests")
        << "exportHarvestsAction"
        << "shukaku.csv"
        << "収穫 1件を書き出しました。"
        << QByteArray("\xEF\xBB\xBF日付,作物,場所,収穫量,単位,メモ\r\n2014/07/01,トマト,,1.5,kg,\r\n");
    QTest::newRow("diary") << "exportDiaryAction"
                           << "nikki.csv"
                           << "日誌 1件を書き出しました。"
                           << QByteArray("\xEF\xBB\xBF日付,種類,内容,作物,場所,写真\r\n2014/07/02,,,,,\r\n");
}

void ExportWindowsTest::eachExportProposesItsNameAndSaysHowMany() {
    QFETCH(QString, action);
    QFETCH(QString, proposed);
    QFETCH(QString, said);
    QFETCH(QByteArray, begins);
    m_platform->saveAs = m_dir->filePath("chosen");
    m_button->findChild<QAction*>(action)->trigger();
    QCOMPARE(m_platform->proposedFileNames, QStringList{proposed});
    QCOMPARE(m_platform->allShown(), QStringList{said});
    QVERIFY(readBytes(m_platform->saveAs).startsWith(begins));
}

void ExportWindowsTest::purchasesExportTheTabsFilters() {
    m_year = "2014";
    m_month = "5";
    m_platform->saveAs = m_dir->filePath("kounyu.csv");
    m_button->ExportPurchases();
    QCOMPARE(readBytes(m_platform->saveAs),
             QByteArray("\xEF\xBB\xBF日付,購入内容,金額\r\n2014/5/1,,1500\r\n2014/5/1,,500\r\n"));
    QCOMPARE(m_platform->messages, QStringList{"購入履歴 2件（2行）を書き出しました。"});
}

void ExportWindowsTest::cancelledOrUnwritableWritesNothing() {
    m_button->ExportCalendar();
    QCOMPARE(m_platform->proposedFileNames.size(), 1);
    m_platform->saveAs = m_dir->filePath("missing/sakumotu.csv");
    m_button->ExportCrops();
    QCOMPARE(m_platform->messages, QStringList());
    QCOMPARE(m_platform->errors.size(), 1);
    QVERIFY(m_platform->errors.first().startsWith("書き出しに失敗しました: " + m_platform->saveAs));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
}

// Every file the user names in a save dialog: the three exports, the chart of
// the purchases, a card and the plan chart. The dialog asked to replace
// kakeibo.csv, and the gardener said はい.
void ExportWindowsTest::noSaveReplacesTheNotebookThroughALink() {
    const QByteArray ledger = "<?xml version=\"1.0\"?><data/>";
    QVERIFY(testsupport::writeBytes(m_dir->filePath("cost.xml"), ledger));
    QTemporaryDir desk;
    m_platform->saveAs = desk.filePath("kakeibo.csv");
    QVERIFY(QFile::link(m_dir->filePath("cost.xml"), m_platform->saveAs));
    const QString refused =
        "書き出しに失敗しました: " + m_platform->saveAs + "（青葉録のデータファイルには書き出せません。）";
    const QString refusedImage = "画像を保存できませんでした。\n" + m_platform->saveAs +
                                 "\n青葉録のデータファイルには保存できません。";

    for (const char* action : {"exportCalendarAction", "exportPurchasesAction", "exportCropsAction"})
        m_button->findChild<QAction*>(action)->trigger();
    startPurchases();
    TPurchaseChartWindow* chart = openChart();
    QVERIFY(QTest::qWaitForWindowExposed(chart));
    chart->SaveButtonClick();
    TYotei task;
    task.name = "種まき";
    TForm12 card(task, *m_platform);
    card.show();
    QVERIFY(QTest::qWaitForWindowExposed(&card));
    card.findChild<QPushButton*>("cardSaveButton")->click();
    TGroupList plan;
    QImage planChart;
    m_context.plan = &plan;
    m_context.chart = &planChart;
    TPlanTab planTab(m_context);
    planTab.SpeedButtonClick();
    planTab.Button9Click();

    QCOMPARE(m_platform->errors,
             (QStringList{refused, refused, refused, refused, refusedImage, refusedImage}));
    QCOMPARE(m_platform->messages, QStringList());
    QCOMPARE(readBytes(m_dir->filePath("cost.xml")), ledger);
    QCOMPARE(QFileInfo(m_platform->saveAs).symLinkTarget(), m_dir->filePath("cost.xml"));
    QCOMPARE(QDir(desk.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
             QStringList{"kakeibo.csv"});
}

void ExportWindowsTest::chartButtonSitsInTheFilterRow() {
    auto* chart = m_tab->findChild<QPushButton*>("costChartButton");
    QVERIFY(chart);
    QCOMPARE(chart->text(), QStringLiteral("グラフ"));
    const QRect years = m_tab->years()->geometry();
    QCOMPARE(chart->geometry().top(), years.top());
    QCOMPARE(chart->geometry().height(), years.height());
    QVERIFY(chart->geometry().right() < m_tab->width());
    QVERIFY(chart->geometry().bottom() < m_tab->list()->geometry().top());
}

void ExportWindowsTest::chartShowsYearsThenMonthsOfTheChosenYear() {
    startPurchases();
    TPurchaseChartWindow* window = openChart();
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QCOMPARE(window->windowTitle(), QStringLiteral("購入金額のグラフ"));
    QCOMPARE(totals(window), (QList<qint64>{300, 3000002000}));
    QCOMPARE(barSet(window)->at(1), 3000002000.0);

    choose(m_tab->years(), "2014");
    QCOMPARE(window->bars().size(), 12);
    QCOMPARE(totals(window), (QList<qint64>{0, 0, 0, 0, 2000, 0, 3000000000, 0, 0, 0, 0, 0}));
    QCOMPARE(barSet(window)->selectedBars(), QList<int>());
    choose(m_tab->months(), "5");
    QCOMPARE(barSet(window)->selectedBars(), QList<int>{4});
    // The value axis reads in yen with separators, up to the largest bar.
    auto* axis = qobject_cast<QCategoryAxis*>(window->chart()->axes(Qt::Vertical).value(0));
    QVERIFY(axis);
    QVERIFY(axis->categoriesLabels().contains("1,000,000,000円"));
    QVERIFY(axis->max() >= 3000000000.0);

    // The same window comes to the front again.
    QCOMPARE(openChart(), window);
    QCOMPARE(m_tab->findChildren<TPurchaseChartWindow*>().size(), 1);
}

void ExportWindowsTest::chartFollowsChangesToThePurchases() {
    startPurchases();
    TPurchaseChartWindow* window = openChart();
    choose(m_tab->years(), "2013");
    QCOMPARE(window->bars()[11].total, qint64(300));
    // Deleting the year's only purchase sends the filters back to すべて.
    TListView3* list = m_tab->list();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->row(0)).center());
    m_tab->DeleteButtonClick();
    QCOMPARE(totals(window), QList<qint64>{3000002000});
    // A change made elsewhere shows once the tab shows its purchases again, as after an undo.
    addCost(m_costs, "2015", "1", "700");
    QList<QPointer<QAbstractAxis>> before;
    for (QAbstractAxis* axis : window->chart()->axes())
        before << axis;
    m_tab->RebuildYears();
    m_tab->YearChanged();
    QCOMPARE(totals(window), (QList<qint64>{3000002000, 700}));
    // Each redraw leaves nothing of the last one behind.
    QCOMPARE(before.size(), 2);
    for (const QPointer<QAbstractAxis>& axis : before)
        QVERIFY(axis.isNull());
}

void ExportWindowsTest::yearLabelsTurnWhenTheyDoNotFitSideBySide() {
    startPurchases();
    TPurchaseChartWindow* window = openChart();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    const auto angle = [window] { return window->chart()->axes(Qt::Horizontal).value(0)->labelsAngle(); };
    QCOMPARE(angle(), 0);
    for (int year = 2000; year < 2013; ++year)
        addCost(m_costs, QString::number(year), "4", "100");
    startPurchases();
    QCOMPARE(window->bars().size(), 15);
    QVERIFY(angle() != 0);
    window->resize(1600, window->height());
    QCOMPARE(angle(), 0);
}

void ExportWindowsTest::hoveringABarShowsItsAmount() {
    startPurchases();
    TPurchaseChartWindow* window = openChart();
    auto* series = qobject_cast<QBarSeries*>(window->chart()->series().value(0));
    emit series->hovered(true, 1, barSet(window));
    QCOMPARE(window->valueLabel()->text(), QStringLiteral("2014年　3,000,002,000円"));
    emit series->hovered(false, 1, barSet(window));
    QCOMPARE(window->valueLabel()->text(), QString());
}

void ExportWindowsTest::chartSavesPngOrJpegByExtension() {
    startPurchases();
    TPurchaseChartWindow* window = openChart();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    m_platform->saveAs = m_dir->filePath("graph.png");
    window->SaveButtonClick();
    QCOMPARE(m_platform->proposedFileNames, QStringList{"kounyu_graph.png"});
    QVERIFY(readBytes(m_platform->saveAs).startsWith("\x89PNG"));
    m_platform->saveAs = m_dir->filePath("graph.JPG");
    window->SaveButtonClick();
    const QByteArray jpeg = readBytes(m_platform->saveAs);
    QVERIFY(jpeg.startsWith("\xFF\xD8\xFF"));
    const QImage image = QImage::fromData(jpeg);
    QCOMPARE(image.size(), window->findChild<QWidget*>("chartView")->size());
    m_platform->saveAs = m_dir->filePath("missing/graph.png");
    window->SaveButtonClick();
    QCOMPARE(m_platform->errors.size(), 1);
    QVERIFY(m_platform->messages.isEmpty());
}

QTEST_MAIN(ExportWindowsTest)
#include "export_windows_test.moc"
