#include "app/main_window.h"
#include "crops/crop_tab.h"
#include "every_dialog.h"
#include "purchases/purchase_tab.h"
#include "schedule/schedule_tab.h"
#include "support/modal.h"
#include "widgets/list_view3.h"

#include <QComboBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolTip>
#include <QWindow>

using usability::child;
using usability::EveryDialog;

namespace {

const QString kLongCropName = QStringLiteral("ミニトマト（アイコ・千果・シンディースイート）");
const QString kLongNote =
    QStringLiteral("苦土石灰を一平方メートルあたり百グラム、二週間前までにまいて深く耕しておく");
const QString kLongUrl = QStringLiteral("https://www.example.jp/kateisaien/yasai-zukuri/hyakka/index.html");

TCost* addCost(TCostList& costs, const char* nen, const char* tuki, const char* hi, const char* name,
               const char* kingaku) {
    TCost* cost = costs.add();
    cost->nen = QString::fromLatin1(nen);
    cost->tuki = QString::fromLatin1(tuki);
    cost->hi = QString::fromLatin1(hi);
    TSina* line = cost->sina.add();
    line->name = QString::fromUtf8(name);
    line->kingaku = QString::fromLatin1(kingaku);
    return cost;
}

// A notebook of one season with the longest dates, amounts and names a
// gardener writes.
void writeLongNotebook(const QString& folder, Platform& platform) {
    TSakumotuList crops;
    TSakumotu* crop = crops.add();
    crop->name = kLongCropName;
    crop->okiniiri1 = QStringLiteral("アイコ");
    crop->okiniiri2 = QStringLiteral("千果");
    crop->joukan = QStringLiteral("60");
    crop->kabukan1 = QStringLiteral("45");
    crop->kabukan2 = QStringLiteral("50");
    for (const char* st : {"4月下旬", "6月上旬", "8月中旬"}) {
        TJiki* period = crop->jiki.add();
        period->st = QString::fromUtf8(st);
        period->ed = QStringLiteral("10月下旬");
    }
    crops.add()->name = QStringLiteral("ナス");
    QVERIFY(crops.SaveToFile(folder, platform));

    TYoteiList tasks;
    TYotei* task = tasks.add();
    task->name = QStringLiteral("畑の準備－石灰（北側の畝と南側の畝の両方）");
    task->tuki = QStringLiteral("12");
    task->shuu = QStringLiteral("5");
    task->note = {kLongNote};
    QVERIFY(tasks.SaveToFile(folder, platform));

    TCostList costs;
    addCost(costs, "2025", "1", "5", "種", "300");
    addCost(costs, "2026", "11", "30", "ビニールハウス一式", "1280000");
    addCost(costs, "2026", "12", "28", "農地（畑一反）", "999999999999");
    QVERIFY(costs.SaveToFile(folder, platform));
}

// Qt's own measure of what the cells need, through the view's delegate.
void nothingCutOff(TListView3* list) {
    for (int column = 1; column < list->rows()->columnCount(); ++column) {
        const int needs = static_cast<const QAbstractItemView*>(list)->sizeHintForColumn(column);
        QVERIFY2(needs <= list->header()->sectionSize(column),
                 qPrintable(QStringLiteral("%1 column %2 needs %3, has %4")
                                .arg(list->objectName())
                                .arg(column)
                                .arg(needs)
                                .arg(list->header()->sectionSize(column))));
        for (int row = 0; row < list->rowCount(); ++row)
            QVERIFY(!list->isCutOff(row, column));
    }
}

void doubleClickRow(TListView3* list, int index) {
    QWindow* window = list->window()->windowHandle();
    const QRect rect = list->visualItemRect(list->row(index));
    const QPoint at = list->viewport()->mapTo(list->window(), QPoint(rect.left() + 40, rect.center().y()));
    QTest::mouseDClick(window, Qt::LeftButton, {}, at);
}

} // namespace

// The check-mark lists with long texts, double clicks and the number lists'
// type-ahead, in the windows the gardener sees them in.
class ListUsabilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void tabListsWidenToTheirLongestTexts();
    void dialogListsWidenToTheirLongestTexts_data();
    void dialogListsWidenToTheirLongestTexts();
    void layoutWidthsStayMinimumsAndComeBack();
    void aListTooWideScrollsSideways();
    void aCellCutOffByHandShowsItsTextAsTooltip();
    void userWidthsReplaceTheLayoutsMinimums();
    void doubleClickTicksTheRowAndOpensIt_data();
    void doubleClickTicksTheRowAndOpensIt();
    void typeAheadMatchesTheWholeNumber_data();
    void typeAheadMatchesTheWholeNumber();
    void typeAheadInTheOpenList();

private:
    void startWindow();

    std::unique_ptr<EveryDialog> m_notebook;
    std::unique_ptr<TForm5> m_window;
};

void ListUsabilityTest::initTestCase() {
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    // The digits of one number are typed in one go, however slow the machine.
    QApplication::setKeyboardInputInterval(60 * 60 * 1000);
}

void ListUsabilityTest::init() {
    m_notebook = std::make_unique<EveryDialog>();
}

void ListUsabilityTest::cleanup() {
    m_window.reset();
    m_notebook.reset();
}

void ListUsabilityTest::startWindow() {
    writeLongNotebook(m_notebook->platform.dataFolder(), m_notebook->platform);
    m_window = std::make_unique<TForm5>(m_notebook->platform);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(m_notebook->platform.allShown().isEmpty());
}

void ListUsabilityTest::tabListsWidenToTheirLongestTexts() {
    startWindow();
    auto* tasks = m_window->scheduleTab()->findChild<QWidget*>("taskFilter4");
    QTest::mouseClick(tasks, Qt::LeftButton);
    TListView3* crops = m_window->cropTab()->list();
    TListView3* schedule = m_window->scheduleTab()->list();
    TListView3* costs = m_window->purchaseTab()->list();
    QCOMPARE(crops->rowCount(), 2);
    QCOMPARE(schedule->rowCount(), 1);
    QCOMPARE(costs->rowCount(), 3);
    for (TListView3* list : {crops, schedule, costs})
        nothingCutOff(list);
    QCOMPARE(costs->row(2)->text(1), QStringLiteral("2026/12/28"));
    QCOMPARE(costs->row(2)->text(3), QStringLiteral("999,999,999,999円"));
    QVERIFY(costs->header()->sectionSize(1) > 70);
    QVERIFY(costs->header()->sectionSize(3) > 100);
    QVERIFY(crops->header()->sectionSize(1) > 130);
    QVERIFY(schedule->header()->sectionSize(2) > 250);
}

void ListUsabilityTest::dialogListsWidenToTheirLongestTexts_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("list");
    QTest::newRow("購入") << "購入"
                          << "lineList";
    QTest::newRow("作物選択") << "作物選択（引用）"
                              << "entryList";
    QTest::newRow("グループ設定") << "グループ設定"
                                  << "groupList";
    QTest::newRow("お気に入り一覧") << "お気に入り一覧"
                                    << "okiniList";
}

void ListUsabilityTest::dialogListsWidenToTheirLongestTexts() {
    QFETCH(QString, caption);
    QFETCH(QString, list);
    EveryDialog& notebook = *m_notebook;
    notebook.group->name = QStringLiteral("北側の畝（夏野菜と支柱の要るもの）");
    notebook.entry->name = kLongCropName;
    notebook.entry->StTuki = notebook.entry->EdTuki = QStringLiteral("12");
    notebook.entry->ichi = 12;
    notebook.okini->url = kLongUrl;
    TCost* cost = addCost(notebook.costs, "2026", "12", "28", "農地（畑一反）", "999999999999");
    auto dialog = caption == "購入"
                      ? std::make_unique<TForm15>(notebook.platform, notebook.costs, cost, "", "", "")
                      : notebook.open(caption);
    QVERIFY(EveryDialog::showActive(*dialog));
    auto* view = child<TListView3>(*dialog, qPrintable(list));
    QVERIFY(view->rowCount() > 0);
    nothingCutOff(view);
}

// Widths follow the texts of each refill: back to the layout's when the long ones leave.
void ListUsabilityTest::layoutWidthsStayMinimumsAndComeBack() {
    startWindow();
    TPurchaseTab* tab = m_window->purchaseTab();
    TListView3* costs = tab->list();
    QVERIFY(costs->header()->sectionSize(3) > 100);
    QComboBox* years = tab->years();
    years->setCurrentIndex(years->findText("2025"));
    QCOMPARE(costs->rowCount(), 1);
    QCOMPARE(costs->columnWidths(), QList<int>({70, 400, 100}));
    years->setCurrentIndex(years->findText("2026"));
    QVERIFY(costs->header()->sectionSize(1) > 70);
    QVERIFY(costs->header()->sectionSize(3) > 100);
    nothingCutOff(costs);
    QCOMPARE(costs->userColumnWidths(), QList<int>({70, 400, 100}));
}

void ListUsabilityTest::aListTooWideScrollsSideways() {
    EveryDialog& notebook = *m_notebook;
    TCost* cost = addCost(notebook.costs, "2026", "12", "28",
                          "ビニールハウス一式（間口５．４ｍ・奥行き１０ｍ）と取り付け工事", "999999999999");
    TForm15 dialog(notebook.platform, notebook.costs, cost, "", "", "");
    QVERIFY(EveryDialog::showActive(dialog));
    auto* lines = child<TListView3>(dialog, "lineList");
    nothingCutOff(lines);
    QVERIFY(lines->header()->length() > lines->viewport()->width());
    QVERIFY(lines->horizontalScrollBar()->maximum() > 0);
}

void ListUsabilityTest::aCellCutOffByHandShowsItsTextAsTooltip() {
    startWindow();
    m_window->tabWidget()->setCurrentWidget(m_window->purchaseTab());
    TListView3* costs = m_window->purchaseTab()->list();
    QCOMPARE(costs->row(2)->toolTip(1), QString());
    // As the gardener drags the date column's edge.
    costs->header()->resizeSection(1, 40);
    QCOMPARE(costs->userColumnWidths(), QList<int>({40, 400, 100}));
    QVERIFY(costs->isCutOff(2, 1));
    QCOMPARE(costs->row(2)->toolTip(1), QStringLiteral("2026/12/28"));
    QCOMPARE(costs->row(2)->toolTip(2), QString());

    const QRect cell = costs->visualRect(costs->row(2).modelIndex(1));
    QHelpEvent help(QEvent::ToolTip, cell.center(), costs->viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(costs->viewport(), &help);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("2026/12/28"));
    QToolTip::hideText();

    // A note keeps its own tooltip, its whole text.
    TListView3* schedule = m_window->scheduleTab()->list();
    QTest::mouseClick(m_window->scheduleTab()->findChild<QWidget*>("taskFilter4"), Qt::LeftButton);
    schedule->header()->resizeSection(3, 60);
    QCOMPARE(schedule->row(0)->toolTip(3), kLongNote);
}

void ListUsabilityTest::userWidthsReplaceTheLayoutsMinimums() {
    startWindow();
    TListView3* costs = m_window->purchaseTab()->list();
    QComboBox* years = m_window->purchaseTab()->years();
    years->setCurrentIndex(years->findText("2025"));
    costs->setUserColumnWidths({70, 200, 60});
    QCOMPARE(costs->columnWidths(), QList<int>({70, 200, 60}));
    // Widths for other columns than the list has are not taken.
    costs->setUserColumnWidths({10, 20});
    QCOMPARE(costs->userColumnWidths(), QList<int>({70, 200, 60}));
    // Narrowed by hand below its text, a column takes its text's width again at the next refill.
    costs->header()->resizeSection(1, 30);
    QVERIFY(costs->isCutOff(0, 1));
    years->setCurrentIndex(years->findText("2026"));
    nothingCutOff(costs);
    QCOMPARE(costs->userColumnWidths(), QList<int>({30, 200, 60}));
    QCOMPARE(costs->header()->sectionSize(2), 200);
}

void ListUsabilityTest::doubleClickTicksTheRowAndOpensIt_data() {
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("checkedBefore");
    QTest::addColumn<QString>("opens");
    for (const bool before : {false, true}) {
        const char* how = before ? "checked row" : "unchecked row";
        QTest::addRow("作物一覧, %s", how) << "作物一覧" << before << "作物（変更）";
        QTest::addRow("予定, %s", how) << "予定" << before << "予定（変更）";
        QTest::addRow("購入履歴, %s", how) << "購入履歴" << before << "購入";
        QTest::addRow("グループ設定, %s", how) << "グループ設定" << before << "グループ";
        QTest::addRow("購入 lines, %s", how) << "購入" << before << "購入内容";
        QTest::addRow("作物選択, %s", how) << "作物選択（引用）" << before << "OK";
        QTest::addRow("お気に入り一覧, %s", how) << "お気に入り一覧" << before << "OK";
    }
}

void ListUsabilityTest::doubleClickTicksTheRowAndOpensIt() {
    QFETCH(QString, where);
    QFETCH(bool, checkedBefore);
    QFETCH(QString, opens);
    std::unique_ptr<QDialog> dialog;
    TListView3* list = nullptr;
    if (where == "作物一覧" || where == "予定" || where == "購入履歴") {
        startWindow();
        QTest::mouseClick(m_window->scheduleTab()->findChild<QWidget*>("taskFilter4"), Qt::LeftButton);
        QWidget* tab = where == "作物一覧" ? static_cast<QWidget*>(m_window->cropTab())
                       : where == "予定"   ? static_cast<QWidget*>(m_window->scheduleTab())
                                           : static_cast<QWidget*>(m_window->purchaseTab());
        m_window->tabWidget()->setCurrentWidget(tab);
        list = tab->findChild<TListView3*>();
    } else {
        addCost(m_notebook->costs, "2026", "12", "28", "苗", "800");
        dialog = where == "購入" ? std::make_unique<TForm15>(m_notebook->platform, m_notebook->costs,
                                                             m_notebook->costs.at(0), "", "", "")
                                 : m_notebook->open(where);
        QVERIFY(EveryDialog::showActive(*dialog));
        list = dialog->findChild<TListView3*>();
    }
    QVERIFY(list && list->rowCount() > 0);
    const int last = list->rowCount() - 1;
    if (checkedBefore)
        list->CheckItem(last);
    QString opened;
    QList<int> checkedWhenOpened;
    const auto watcher = testsupport::whenModal<QDialog>([&](QDialog* modal) {
        opened = modal->windowTitle();
        checkedWhenOpened = {list->CheckedIndex(), list->CheckedCount()};
    });
    doubleClickRow(list, last);
    testsupport::cancel(watcher);
    if (opens == "OK") {
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QVERIFY(opened.isEmpty());
        checkedWhenOpened = {list->CheckedIndex(), list->CheckedCount()};
    } else {
        QCOMPARE(opened, opens);
    }
    QCOMPARE(checkedWhenOpened, QList<int>({last, 1}));
}

void ListUsabilityTest::typeAheadMatchesTheWholeNumber_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");
    const auto row = [](const char* name, const char* caption, const char* list, const char* before,
                        const char* typed, const char* after) {
        QTest::newRow(name) << QString::fromUtf8(caption) << QString::fromLatin1(list)
                            << QString::fromUtf8(before) << QString::fromUtf8(typed)
                            << QString::fromUtf8(after);
    };
    row("day 3 after 15", "購入", "dayCombo", "15", "3", "3");
    row("day 1 then 5", "購入", "dayCombo", "28", "15", "15");
    row("day 3 then 1", "購入", "dayCombo", "1", "31", "31");
    row("day full-width", "購入", "dayCombo", "15", "３", "3");
    row("month 1 then 2", "購入", "monthCombo", "3", "12", "12");
    row("month 4 then 5 starts again", "購入", "monthCombo", "3", "45", "5");
    row("task month 1 then 0", "予定", "monthCombo", "", "10", "10");
    row("task week", "予定", "weekCombo", "", "3", "3");
    row("task week none", "予定", "weekCombo", "2", "6", "2");
    row("plan start month", "作付計画へ追加", "stTukiCombo", "", "11", "11");
    row("plan end week", "作付計画へ追加", "edShuuCombo", "", "5", "5");
    row("year filter", "購入履歴", "yearFilter", "すべて", "2026", "2026");
    row("year filter, no such year", "購入履歴", "yearFilter", "2025", "2030", "2025");
    row("year filter, a letter", "購入履歴", "yearFilter", "2025", "x", "2025");
}

void ListUsabilityTest::typeAheadMatchesTheWholeNumber() {
    QFETCH(QString, caption);
    QFETCH(QString, list);
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(QString, after);
    std::unique_ptr<FormDialog> dialog;
    QComboBox* box = nullptr;
    if (caption == "購入履歴") {
        startWindow();
        m_window->tabWidget()->setCurrentWidget(m_window->purchaseTab());
        box = m_window->purchaseTab()->findChild<QComboBox*>(list);
    } else {
        dialog = m_notebook->open(caption);
        QVERIFY(EveryDialog::showActive(*dialog));
        box = dialog->findChild<QComboBox*>(list);
    }
    QVERIFY(box);
    box->setCurrentIndex(box->findText(before));
    QCOMPARE(box->currentText(), before);
    box->setFocus();
    for (const QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QCOMPARE(box->currentText(), after);
}

void ListUsabilityTest::typeAheadInTheOpenList() {
    auto dialog = m_notebook->open("購入");
    QVERIFY(EveryDialog::showActive(*dialog));
    auto* days = child<QComboBox>(*dialog, "dayCombo");
    QCOMPARE(days->currentText(), QStringLiteral("28"));
    days->showPopup();
    QVERIFY(QTest::qWaitForWindowExposed(days->view()->window()));
    QTest::sendKeyEvent(QTest::Click, days->view(), Qt::Key_unknown, QStringLiteral("3"), Qt::NoModifier);
    QCOMPARE(days->view()->currentIndex().data().toString(), QStringLiteral("3"));
    QTest::keyClick(days->view(), Qt::Key_Return);
    QCOMPARE(days->currentText(), QStringLiteral("3"));
}

QTEST_MAIN(ListUsabilityTest)
#include "list_usability_test.moc"
