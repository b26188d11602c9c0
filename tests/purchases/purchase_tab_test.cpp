#include "purchases/modal.h"
#include "purchases/purchase_dialog.h"
#include "purchases/purchase_line_dialog.h"
#include "purchases/purchase_records.h"
#include "purchases/purchase_tab.h"
#include "support/files.h"
#include "support/scripted_platform.h"
#include "widgets/app_context.h"
#include "widgets/list_view3.h"
#include "widgets/suji_edit.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using purchasetest::child;
using purchasetest::click;
using purchasetest::onModal;

using testsupport::readBytes;

namespace {

QStringList choices(const QComboBox* box) {
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

QStringList column(const TListView3* list, int index) {
    QStringList texts;
    for (int i = 0; i < list->rowCount(); ++i)
        texts << list->row(i)->text(index);
    return texts;
}

// The user picks an entry with the keyboard, as on a closed drop-down list.
void choose(QComboBox* box, const QString& text) {
    const int target = box->findText(text);
    QVERIFY2(target >= 0, qPrintable(text));
    while (box->currentIndex() < target)
        QTest::keyClick(box, Qt::Key_Down);
    while (box->currentIndex() > target)
        QTest::keyClick(box, Qt::Key_Up);
}

} // namespace

class PurchaseTabTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }
    void init();
    void cleanup();

    void emptyLedgerOffersOnlyAllAndZero();
    void yearsOfferedWithAllShowingEverythingOldestFirst();
    void choosingAYearOffersItsMonthsInTextOrder();
    void choosingAMonthNarrowsRowsAndTotal();
    void rowsShowDateNamesAndGroupedAmount();
    void rebuildingFromCodeRaisesNoChange();
    void headerClickSortsNothingAndDoubleClickOpensTheRow();
    void commandsNeedACheckedRow_data();
    void commandsNeedACheckedRow();
    void showHandsTheCheckedPurchaseToTheCard();
    void deleteAsksWithThePlainTotal();
    void deleteAnsweredNoKeepsEverything();
    void deletingTheOnlyPurchaseOfAYearResetsTheFilters();
    void failedSaveAfterDeleteKeepsThePurchaseRemoved();
    void messageAfterDeleteRepaintsOnlyLivePurchases();
    void deleteKeepsFiltersThatStillHavePurchases();
    void addOpensOnTodayWithBothFiltersAll();
    void addOpensOnTheFiltersOnThe30th();
    void addingSwitchesTheFiltersToTheNewPurchase();
    void cancelledAddChangesNothing();
    void changeFollowsAndChecksTheChangedPurchase();
    void cancelAfterAddingALineLeavesTheFileByteForByte();

private:
    TCost* seed(const QString& nen, const QString& tuki, const QString& hi, const QStringList& amounts = {});
    void start();
    void checkRow(int index);
    QString costFile() const { return m_platform->dataFolder() + kCostFileName; }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TCostList> m_costs;
    AppContext m_context;
    std::unique_ptr<TPurchaseTab> m_tab;
};

void PurchaseTabTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<ScriptedPlatform>(m_dir->path() + QLatin1Char('/'));
    m_platform->date = QDate(2014, 3, 31);
    m_costs = std::make_unique<TCostList>();
    m_context = AppContext{};
    m_context.platform = m_platform.get();
    m_context.costs = m_costs.get();
    m_tab = std::make_unique<TPurchaseTab>(m_context);
    m_tab->resize(776, 600);
    m_tab->show();
}

void PurchaseTabTest::cleanup() {
    m_tab.reset();
    m_costs.reset();
    m_platform.reset();
    m_dir.reset();
}

// Writes a purchase into cost.xml; start() reads the file as the program does.
TCost* PurchaseTabTest::seed(const QString& nen, const QString& tuki, const QString& hi,
                             const QStringList& amounts) {
    TCost* cost = m_costs->add();
    cost->nen = nen;
    cost->tuki = tuki;
    cost->hi = hi;
    for (const QString& amount : amounts) {
        TSina* line = cost->sina.add();
        line->name = QStringLiteral("品") + amount;
        line->kingaku = amount;
    }
    m_costs->SaveToFile(m_platform->dataFolder(), *m_platform);
    return cost;
}

void PurchaseTabTest::start() {
    m_costs->LoadFromFile(m_platform->dataFolder(), *m_platform);
    m_costs->SortByDate();
    m_tab->RebuildYears();
    m_tab->YearChanged();
}

void PurchaseTabTest::checkRow(int index) {
    TListView3* list = m_tab->list();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->row(index)).center());
    QCOMPARE(list->CheckedIndex(), index);
}

void PurchaseTabTest::emptyLedgerOffersOnlyAllAndZero() {
    QCOMPARE(m_tab->total()->text(), QStringLiteral("合計"));
    start();
    QCOMPARE(choices(m_tab->years()), QStringList{QStringLiteral("すべて")});
    QCOMPARE(choices(m_tab->months()), QStringList{QStringLiteral("すべて")});
    QCOMPARE(m_tab->list()->rowCount(), 0);
    QCOMPARE(m_tab->total()->text(), QStringLiteral("合計 0円"));
    QVERIFY(m_platform->allShown().isEmpty());
}

void PurchaseTabTest::yearsOfferedWithAllShowingEverythingOldestFirst() {
    seed("2014", "3", "2", {"300"});
    seed("2013", "12", "1", {"100"});
    seed("2014", "1", "5", {"200"});
    start();
    QCOMPARE(choices(m_tab->years()), (QStringList{"すべて", "2013", "2014"}));
    QCOMPARE(m_tab->years()->currentText(), QStringLiteral("すべて"));
    QCOMPARE(choices(m_tab->months()), QStringList{QStringLiteral("すべて")});
    QCOMPARE(column(m_tab->list(), 1), (QStringList{"2013/12/1", "2014/1/5", "2014/3/2"}));
    QCOMPARE(m_tab->total()->text(), QStringLiteral("合計 600円"));
}

void PurchaseTabTest::choosingAYearOffersItsMonthsInTextOrder() {
    for (const char* month : {"2", "12", "1", "10"})
        seed("2014", month, "1", {"100"});
    seed("2013", "5", "1", {"100"});
    start();
    choose(m_tab->years(), QStringLiteral("2014"));
    QCOMPARE(choices(m_tab->months()), (QStringList{"すべて", "1", "10", "12", "2"}));
    QCOMPARE(m_tab->months()->currentText(), QStringLiteral("すべて"));
    QCOMPARE(m_tab->list()->rowCount(), 4);
    QCOMPARE(m_tab->total()->text(), QStringLiteral("合計 400円"));
}

void PurchaseTabTest::choosingAMonthNarrowsRowsAndTotal() {
    seed("2014", "5", "3", {"1500", "10800"});
    seed("2014", "5", "20", {"0500"});
    seed("2014", "6", "1", {"999"});
    start();
    choose(m_tab->years(), QStringLiteral("2014"));
    choose(m_tab->months(), QStringLiteral("5"));
    QCOMPARE(column(m_tab->list(), 1), (QStringList{"2014/5/3", "2014/5/20"}));
    QCOMPARE(m_tab->total()->text(), QStringLiteral("合計 12,800円"));
    QCOMPARE(m_tab->list()->CheckedCount(), 0);
    choose(m_tab->years(), QStringLiteral("すべて"));
    QCOMPARE(choices(m_tab->months()), QStringList{QStringLiteral("すべて")});
    QCOMPARE(m_tab->list()->rowCount(), 3);
}

void PurchaseTabTest::rowsShowDateNamesAndGroupedAmount() {
    TCost* cost = seed("2014", "5", "3", {"300", "1200"});
    cost->sina.at(0)->name = QStringLiteral("苗");
    cost->sina.at(1)->name = QStringLiteral("堆肥");
    m_costs->SaveToFile(m_platform->dataFolder(), *m_platform);
    seed("2014", "5", "4");
    start();
    TListView3* list = m_tab->list();
    QCOMPARE(list->row(0)->text(2), QStringLiteral("苗、堆肥"));
    QCOMPARE(list->row(0)->text(3), QStringLiteral("1,500円"));
    QVERIFY(list->row(0)->textAlignment(3) & Qt::AlignRight);
    QCOMPARE(list->row(1)->text(2), QString());
    QCOMPARE(list->row(1)->text(3), QStringLiteral("0円"));
    QCOMPARE(TListView3::rowData(list->row(0)), static_cast<const void*>(m_costs->at(0)));
}

void PurchaseTabTest::rebuildingFromCodeRaisesNoChange() {
    seed("2014", "5", "3", {"100"});
    start();
    QSignalSpy years(m_tab->years(), &QComboBox::currentIndexChanged);
    QSignalSpy months(m_tab->months(), &QComboBox::currentIndexChanged);
    choose(m_tab->years(), QStringLiteral("2014"));
    QCOMPARE(years.count(), 1);
    QCOMPARE(months.count(), 0);
    m_tab->RebuildYears();
    m_tab->RebuildMonths();
    QCOMPARE(years.count(), 1);
    QCOMPARE(months.count(), 0);
    QCOMPARE(m_tab->years()->currentText(), QStringLiteral("2014"));
}

void PurchaseTabTest::headerClickSortsNothingAndDoubleClickOpensTheRow() {
    seed("2014", "5", "3", {"900"});
    seed("2013", "5", "3", {"100"});
    start();
    TListView3* list = m_tab->list();
    QVERIFY(!list->header()->sectionsClickable());
    QString opened;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = modal->windowTitle();
            modal->close();
        }
    });
    const QPoint row = list->visualItemRect(list->row(0)).center();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row);
    QCOMPARE(opened, QStringLiteral("購入"));
    QCOMPARE(column(list, 1), (QStringList{"2013/5/3", "2014/5/3"}));
    QCOMPARE(list->CheckedIndex(), 0);
    QVERIFY(m_platform->allShown().isEmpty());
}

void PurchaseTabTest::commandsNeedACheckedRow_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("変更") << "costChangeButton";
    QTest::newRow("表示") << "costShowButton";
    QTest::newRow("削除") << "costDeleteButton";
}

void PurchaseTabTest::commandsNeedACheckedRow() {
    QFETCH(QString, button);
    seed("2014", "5", "3", {"100"});
    start();
    bool cardShown = false;
    m_tab->showCostCard = [&cardShown](TCost&) { cardShown = true; };
    const QByteArray before = readBytes(costFile());
    click(*m_tab, button.toLatin1().constData());
    QCOMPARE(m_platform->messages, QStringList{QStringLiteral("購入履歴を選択してください。")});
    QVERIFY(m_platform->questions.isEmpty());
    QVERIFY(!cardShown);
    QCOMPARE(m_costs->count(), 1);
    QCOMPARE(readBytes(costFile()), before);
}

void PurchaseTabTest::showHandsTheCheckedPurchaseToTheCard() {
    seed("2013", "5", "3", {"100"});
    seed("2014", "5", "3", {"200"});
    start();
    TCost* shown = nullptr;
    m_tab->showCostCard = [&shown](TCost& cost) { shown = &cost; };
    checkRow(1);
    click(*m_tab, "costShowButton");
    QCOMPARE(shown, m_costs->at(1));
    QCOMPARE(m_tab->list()->CheckedIndex(), 1);
    QVERIFY(m_platform->allShown().isEmpty());
}

void PurchaseTabTest::deleteAsksWithThePlainTotal() {
    seed("2014", "5", "3", {"1000", "500"});
    seed("2014", "6", "1", {"100"});
    start();
    QCOMPARE(m_tab->list()->row(0)->text(3), QStringLiteral("1,500円"));
    checkRow(0);
    m_platform->answers.enqueue(true);
    click(*m_tab, "costDeleteButton");
    // The two lines go with the purchase, and the question says so.
    QCOMPARE(m_platform->questions,
             QStringList{QStringLiteral("2014/5/3 の 1500円 を削除します。よろしいですか？"
                                        "\r\n購入内容 2 件も削除されます。")});
    QCOMPARE(m_costs->count(), 1);
    QCOMPARE(column(m_tab->list(), 1), QStringList{QStringLiteral("2014/6/1")});
    QCOMPARE(m_tab->total()->text(), QStringLiteral("合計 100円"));
    TCostList reread;
    reread.LoadFromFile(m_platform->dataFolder(), *m_platform);
    QCOMPARE(reread.count(), 1);
    QCOMPARE(reread.at(0)->DateText(), QStringLiteral("2014/6/1"));
}

void PurchaseTabTest::deleteAnsweredNoKeepsEverything() {
    seed("2014", "5", "3", {"1500"});
    start();
    const QByteArray before = readBytes(costFile());
    checkRow(0);
    m_platform->answers.enqueue(false);
    click(*m_tab, "costDeleteButton");
    QCOMPARE(m_costs->count(), 1);
    QCOMPARE(m_tab->list()->rowCount(), 1);
    QCOMPARE(readBytes(costFile()), before);
}

void PurchaseTabTest::deletingTheOnlyPurchaseOfAYearResetsTheFilters() {
    seed("2013", "4", "1", {"100"});
    seed("2014", "5", "3", {"1500"});
    start();
    choose(m_tab->years(), QStringLiteral("2014"));
    choose(m_tab->months(), QStringLiteral("5"));
    checkRow(0);
    click(*m_tab, "costDeleteButton");
    QCOMPARE(choices(m_tab->years()), (QStringList{"すべて", "2013"}));
    QCOMPARE(m_tab->years()->currentText(), QStringLiteral("すべて"));
    QCOMPARE(m_tab->months()->currentText(), QStringLiteral("すべて"));
    QCOMPARE(column(m_tab->list(), 1), QStringList{QStringLiteral("2013/4/1")});
    QCOMPARE(m_tab->list()->CheckedCount(), 0);
    QCOMPARE(m_tab->total()->text(), QStringLiteral("合計 100円"));
}

void PurchaseTabTest::failedSaveAfterDeleteKeepsThePurchaseRemoved() {
    seed("2013", "4", "1", {"100"});
    seed("2014", "5", "3", {"1500"});
    start();
    QVERIFY(QDir(m_platform->dataFolder()).removeRecursively());
    checkRow(1);
    click(*m_tab, "costDeleteButton");
    QCOMPARE(m_platform->messages, QStringList{QStringLiteral("データの保存に失敗しました（cost）。")});
    QCOMPARE(m_costs->count(), 1);
    QCOMPARE(column(m_tab->list(), 1), QStringList{QStringLiteral("2013/4/1")});
    QCOMPARE(choices(m_tab->years()), (QStringList{"すべて", "2013"}));
}

// The rows read their purchases when painted: the deleted one has left them
// before the failed save's message lets the tab repaint.
void PurchaseTabTest::messageAfterDeleteRepaintsOnlyLivePurchases() {
    seed("2013", "4", "1", {"100"});
    seed("2014", "5", "3", {"1500"});
    start();
    QVERIFY(QDir(m_platform->dataFolder()).removeRecursively());
    int rowsSeen = -1;
    m_platform->whileMessageShown = [this, &rowsSeen] {
        TListView3* list = m_tab->list();
        rowsSeen = list->rowCount();
        for (int i = 0; i < list->rowCount(); ++i)
            QVERIFY(m_costs->indexOf(static_cast<const TCost*>(list->row(i).data())) >= 0);
        list->grab();
    };
    checkRow(1);
    click(*m_tab, "costDeleteButton");
    QCOMPARE(m_platform->messages.size(), 1);
    QCOMPARE(rowsSeen, 1);
}

void PurchaseTabTest::deleteKeepsFiltersThatStillHavePurchases() {
    seed("2014", "5", "3", {"100"});
    seed("2014", "5", "9", {"200"});
    seed("2014", "6", "9", {"400"});
    start();
    choose(m_tab->years(), QStringLiteral("2014"));
    choose(m_tab->months(), QStringLiteral("5"));
    checkRow(0);
    click(*m_tab, "costDeleteButton");
    QCOMPARE(m_tab->years()->currentText(), QStringLiteral("2014"));
    QCOMPARE(m_tab->months()->currentText(), QStringLiteral("5"));
    QCOMPARE(column(m_tab->list(), 1), QStringList{QStringLiteral("2014/5/9")});
    QCOMPARE(m_tab->total()->text(), QStringLiteral("合計 200円"));
}

void PurchaseTabTest::addOpensOnTodayWithBothFiltersAll() {
    start();
    onModal<TForm15>([](TForm15& dialog) {
        QCOMPARE(child<Sujiin>(dialog, "yearEdit")->text(), QStringLiteral("2014"));
        QCOMPARE(child<QComboBox>(dialog, "monthCombo")->currentText(), QStringLiteral("3"));
        QCOMPARE(child<QComboBox>(dialog, "dayCombo")->currentText(), QStringLiteral("31"));
        QCOMPARE(child<TListView3>(dialog, "lineList")->rowCount(), 0);
        QCOMPARE(child<QLabel>(dialog, "totalLabel")->text(), QStringLiteral("合計 0円"));
    });
    click(*m_tab, "costAddButton");
    QCOMPARE(m_costs->count(), 0);
}

void PurchaseTabTest::addOpensOnTheFiltersOnThe30th() {
    m_platform->date = QDate(2014, 4, 30);
    seed("2013", "2", "10", {"100"});
    start();
    choose(m_tab->years(), QStringLiteral("2013"));
    choose(m_tab->months(), QStringLiteral("2"));
    onModal<TForm15>([](TForm15& dialog) {
        QCOMPARE(child<Sujiin>(dialog, "yearEdit")->text(), QStringLiteral("2013"));
        QCOMPARE(child<QComboBox>(dialog, "monthCombo")->currentText(), QStringLiteral("2"));
        QCOMPARE(child<QComboBox>(dialog, "dayCombo")->currentText(), QStringLiteral("1"));
    });
    click(*m_tab, "costAddButton");
}

void PurchaseTabTest::addingSwitchesTheFiltersToTheNewPurchase() {
    seed("2014", "5", "3", {"100"});
    seed("2014", "7", "3", {"200"});
    start();
    choose(m_tab->years(), QStringLiteral("2014"));
    onModal<TForm15>([](TForm15& dialog) {
        auto* year = child<Sujiin>(dialog, "yearEdit");
        year->selectAll();
        QTest::keyClicks(year, QStringLiteral("2015"));
        choose(child<QComboBox>(dialog, "monthCombo"), QStringLiteral("2"));
        choose(child<QComboBox>(dialog, "dayCombo"), QStringLiteral("1"));
        click(dialog, "okButton");
    });
    click(*m_tab, "costAddButton");
    QCOMPARE(choices(m_tab->years()), (QStringList{"すべて", "2014", "2015"}));
    QCOMPARE(m_tab->years()->currentText(), QStringLiteral("2015"));
    QCOMPARE(choices(m_tab->months()), (QStringList{"すべて", "2"}));
    QCOMPARE(m_tab->months()->currentText(), QStringLiteral("2"));
    QCOMPARE(column(m_tab->list(), 1), QStringList{QStringLiteral("2015/2/1")});
    QCOMPARE(m_tab->list()->CheckedCount(), 0);
    QCOMPARE(m_tab->total()->text(), QStringLiteral("合計 0円"));
    TCostList reread;
    reread.LoadFromFile(m_platform->dataFolder(), *m_platform);
    QCOMPARE(reread.count(), 3);
    QCOMPARE(reread.at(2)->DateText(), QStringLiteral("2015/2/1"));
}

void PurchaseTabTest::cancelledAddChangesNothing() {
    seed("2014", "5", "3", {"100"});
    start();
    choose(m_tab->years(), QStringLiteral("2014"));
    onModal<TForm15>([](TForm15& dialog) { click(dialog, "cancelButton"); });
    click(*m_tab, "costAddButton");
    QCOMPARE(m_costs->count(), 1);
    QCOMPARE(m_tab->years()->currentText(), QStringLiteral("2014"));
    QCOMPARE(m_tab->list()->rowCount(), 1);
}

void PurchaseTabTest::changeFollowsAndChecksTheChangedPurchase() {
    seed("2013", "4", "1", {"100"});
    seed("2014", "5", "3", {"1500"});
    start();
    checkRow(1);
    onModal<TForm15>([](TForm15& dialog) {
        QCOMPARE(child<Sujiin>(dialog, "yearEdit")->text(), QStringLiteral("2014"));
        QCOMPARE(child<QComboBox>(dialog, "monthCombo")->currentText(), QStringLiteral("5"));
        QCOMPARE(child<QComboBox>(dialog, "dayCombo")->currentText(), QStringLiteral("3"));
        QCOMPARE(child<TListView3>(dialog, "lineList")->rowCount(), 1);
        auto* year = child<Sujiin>(dialog, "yearEdit");
        year->selectAll();
        QTest::keyClicks(year, QStringLiteral("2012"));
        click(dialog, "okButton");
    });
    click(*m_tab, "costChangeButton");
    QCOMPARE(m_tab->years()->currentText(), QStringLiteral("2012"));
    QCOMPARE(m_tab->months()->currentText(), QStringLiteral("5"));
    QCOMPARE(column(m_tab->list(), 1), QStringList{QStringLiteral("2012/5/3")});
    QCOMPARE(m_tab->list()->CheckedIndex(), 0);
    QCOMPARE(m_costs->at(0)->DateText(), QStringLiteral("2012/5/3"));
    QCOMPARE(m_tab->total()->text(), QStringLiteral("合計 1,500円"));
}

void PurchaseTabTest::cancelAfterAddingALineLeavesTheFileByteForByte() {
    seed("2014", "5", "3", {"0500"});
    start();
    const QByteArray before = readBytes(costFile());
    QVERIFY(!before.isEmpty());
    checkRow(0);
    onModal<TForm15>([](TForm15& dialog) {
        onModal<TForm16>([](TForm16& line) {
            child<QLineEdit>(line, "nameEdit")->setText(QStringLiteral("支柱"));
            QTest::keyClicks(child<Sujiin>(line, "kingakuEdit"), QStringLiteral("800"));
            click(line, "okButton");
        });
        click(dialog, "lineAddButton");
        QCOMPARE(child<TListView3>(dialog, "lineList")->rowCount(), 2);
        click(dialog, "cancelButton");
    });
    click(*m_tab, "costChangeButton");
    QCOMPARE(m_costs->at(0)->sina.count(), 1);
    QCOMPARE(m_tab->list()->row(0)->text(3), QStringLiteral("500円"));
    QCOMPARE(readBytes(costFile()), before);
}

QTEST_MAIN(PurchaseTabTest)
#include "purchase_tab_test.moc"
