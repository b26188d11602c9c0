#include "purchases/modal.h"
#include "purchases/purchase_dialog.h"
#include "purchases/purchase_line_dialog.h"
#include "support/files.h"
#include "support/scripted_platform.h"
#include "widgets/list_view3.h"
#include "widgets/suji_edit.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
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

// The user picks an entry with the keyboard, as on a closed drop-down list.
void choose(QComboBox* box, const QString& text) {
    const int target = box->findText(text);
    QVERIFY2(target >= 0, qPrintable(text));
    while (box->currentIndex() < target)
        QTest::keyClick(box, Qt::Key_Down);
    while (box->currentIndex() > target)
        QTest::keyClick(box, Qt::Key_Up);
}

void typeYear(Sujiin* field, const QString& year) {
    field->selectAll();
    QTest::keyClicks(field, year);
}

void clickRow(TListView3* list, int index) {
    const QRect rect = list->visualItemRect(list->row(index));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

// Fills and accepts the line dialog that the next command opens.
void scriptLine(const QString& name, const QString& amount) {
    onModal<TForm16>([name, amount](TForm16& dialog) {
        child<QLineEdit>(dialog, "nameEdit")->setText(name);
        auto* kingaku = child<Sujiin>(dialog, "kingakuEdit");
        kingaku->selectAll();
        QTest::keyClicks(kingaku, amount);
        click(dialog, "okButton");
    });
}

} // namespace

class PurchaseDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan)); }
    void init();
    void cleanup();

    void opensOnTodayWithoutInitialValues();
    void opensOnTheFiltersWithTheDayFallingBackToOne();
    void opensOnAChangedPurchaseWithItsLines();
    void fieldsAreSetUpForNumbers();
    void monthChangeDropsTheDay();
    void yearEditKeepsADayThatStillExists_data();
    void yearEditKeepsADayThatStillExists();
    void emptyYearEmptiesTheDaysAndIsReportedFirst();
    void okAddsSortsAndSaves();
    void okAcceptsAPurchaseWithoutLines();
    void okOnAChangedPurchaseReplacesItsLines();
    void failedSaveStillClosesWithOk();
    void addedLineShowsItsAmountAndTotal();
    void totalsPastThirtyTwoBitsShowInFull();
    void lineChecksNameBeforeAmount();
    void amountFieldTakesTwelveDigits();
    void lineCommandsNeedACheckedLine_data();
    void lineCommandsNeedACheckedLine();
    void lineChangeEditsTheCheckedLine();
    void lineDeleteAsksAndUpdatesTheTotal();
    void lineDeleteAnsweredNoKeepsTheLine();
    void cancelledLineDialogChangesNothing();
    void cancelAfterAddingALineLeavesPurchaseAndFile();
    void closingByTheFrameIsCancel();

private:
    TForm15* open(TCost* cost, const QString& year = {}, const QString& month = {}, const QString& day = {});
    void saveLedger();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TCostList> m_costs;
    std::unique_ptr<TForm15> m_dialog;
};

void PurchaseDialogTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<ScriptedPlatform>(m_dir->path() + QLatin1Char('/'));
    m_platform->date = QDate(2014, 3, 31);
    m_costs = std::make_unique<TCostList>();
}

void PurchaseDialogTest::cleanup() {
    m_dialog.reset();
    m_costs.reset();
    m_platform.reset();
    m_dir.reset();
}

TForm15* PurchaseDialogTest::open(TCost* cost, const QString& year, const QString& month,
                                  const QString& day) {
    m_dialog = std::make_unique<TForm15>(*m_platform, *m_costs, cost, year, month, day);
    m_dialog->show();
    return m_dialog.get();
}

void PurchaseDialogTest::saveLedger() {
    QVERIFY(m_costs->SaveToFile(m_platform->dataFolder(), *m_platform));
}

void PurchaseDialogTest::opensOnTodayWithoutInitialValues() {
    TForm15* dialog = open(nullptr);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("購入"));
    QCOMPARE(child<Sujiin>(*dialog, "yearEdit")->text(), QStringLiteral("2014"));
    QCOMPARE(child<QComboBox>(*dialog, "monthCombo")->currentText(), QStringLiteral("3"));
    QCOMPARE(child<QComboBox>(*dialog, "dayCombo")->count(), 31);
    QCOMPARE(child<QComboBox>(*dialog, "dayCombo")->currentText(), QStringLiteral("31"));
    QCOMPARE(child<TListView3>(*dialog, "lineList")->rowCount(), 0);
    QCOMPARE(child<QLabel>(*dialog, "totalLabel")->text(), QStringLiteral("合計 0円"));
    QCOMPARE(choices(child<QComboBox>(*dialog, "monthCombo")).size(), 12);
}

void PurchaseDialogTest::opensOnTheFiltersWithTheDayFallingBackToOne() {
    m_platform->date = QDate(2014, 4, 30);
    TForm15* dialog = open(nullptr, QStringLiteral("2013"), QStringLiteral("2"));
    QCOMPARE(child<Sujiin>(*dialog, "yearEdit")->text(), QStringLiteral("2013"));
    QCOMPARE(child<QComboBox>(*dialog, "monthCombo")->currentText(), QStringLiteral("2"));
    QCOMPARE(child<QComboBox>(*dialog, "dayCombo")->count(), 28);
    QCOMPARE(child<QComboBox>(*dialog, "dayCombo")->currentText(), QStringLiteral("1"));
}

void PurchaseDialogTest::opensOnAChangedPurchaseWithItsLines() {
    TCost* cost = m_costs->add();
    cost->nen = QStringLiteral("2012");
    cost->tuki = QStringLiteral("2");
    cost->hi = QStringLiteral("29");
    TSina* line = cost->sina.add();
    line->name = QStringLiteral("苗");
    line->kingaku = QStringLiteral("1500");
    TForm15* dialog = open(cost, cost->nen, cost->tuki, cost->hi);
    QCOMPARE(child<QComboBox>(*dialog, "dayCombo")->currentText(), QStringLiteral("29"));
    auto* list = child<TListView3>(*dialog, "lineList");
    QCOMPARE(list->rowCount(), 1);
    QCOMPARE(list->row(0)->text(1), QStringLiteral("苗"));
    QCOMPARE(list->row(0)->text(2), QStringLiteral("1,500円"));
    QVERIFY(list->row(0)->textAlignment(2) & Qt::AlignRight);
    QVERIFY(TListView3::rowData(list->row(0)) != line);
    QCOMPARE(child<QLabel>(*dialog, "totalLabel")->text(), QStringLiteral("合計 1,500円"));
}

void PurchaseDialogTest::fieldsAreSetUpForNumbers() {
    TForm15* dialog = open(nullptr);
    auto* year = child<Sujiin>(*dialog, "yearEdit");
    QCOMPARE(year->Alignment(), Sujiin::TAlignment::taCenter);
    QVERIFY(year->NumOnly());
    QCOMPARE(year->EnterColor(), QApplication::palette(year).color(QPalette::Base));
    QVERIFY(!year->testAttribute(Qt::WA_InputMethodEnabled));
    QCOMPARE(year->width(), 49);
    QVERIFY(!child<QComboBox>(*dialog, "monthCombo")->isEditable());
    QCOMPARE(child<QComboBox>(*dialog, "dayCombo")->maxVisibleItems(), 20);
}

void PurchaseDialogTest::monthChangeDropsTheDay() {
    TForm15* dialog = open(nullptr);
    auto* day = child<QComboBox>(*dialog, "dayCombo");
    choose(child<QComboBox>(*dialog, "monthCombo"), QStringLiteral("5"));
    QCOMPARE(day->count(), 31);
    QCOMPARE(day->currentIndex(), -1);
    click(*dialog, "okButton");
    QCOMPARE(m_platform->messages, QStringList{QStringLiteral("日を選択してください。")});
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->focusWidget(), day);
    QCOMPARE(m_costs->count(), 0);
}

void PurchaseDialogTest::yearEditKeepsADayThatStillExists_data() {
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("newYear");
    QTest::addColumn<int>("days");
    QTest::addColumn<QString>("kept");
    QTest::newRow("29th gone in 2013") << "29"
                                       << "2013" << 28 << "";
    QTest::newRow("28th stays in 2013") << "28"
                                        << "2013" << 28 << "28";
    QTest::newRow("29th stays in 2016") << "29"
                                        << "2016" << 29 << "29";
}

void PurchaseDialogTest::yearEditKeepsADayThatStillExists() {
    QFETCH(QString, day);
    QFETCH(QString, newYear);
    QFETCH(int, days);
    QFETCH(QString, kept);
    TForm15* dialog = open(nullptr, QStringLiteral("2012"), QStringLiteral("2"), day);
    auto* days29 = child<QComboBox>(*dialog, "dayCombo");
    QCOMPARE(days29->currentText(), day);
    typeYear(child<Sujiin>(*dialog, "yearEdit"), newYear);
    QCOMPARE(days29->count(), days);
    QCOMPARE(days29->currentText(), kept);
    click(*dialog, "okButton");
    if (kept.isEmpty()) {
        QCOMPARE(m_platform->messages, QStringList{QStringLiteral("日を選択してください。")});
        QCOMPARE(m_costs->count(), 0);
    } else {
        QCOMPARE(m_costs->count(), 1);
        QCOMPARE(m_costs->at(0)->DateText(), newYear + QStringLiteral("/2/") + kept);
    }
}

void PurchaseDialogTest::emptyYearEmptiesTheDaysAndIsReportedFirst() {
    TForm15* dialog = open(nullptr);
    auto* year = child<Sujiin>(*dialog, "yearEdit");
    year->selectAll();
    QTest::keyClick(year, Qt::Key_Backspace);
    QCOMPARE(year->text(), QString());
    QCOMPARE(child<QComboBox>(*dialog, "dayCombo")->count(), 0);
    click(*dialog, "okButton");
    QCOMPARE(m_platform->messages, QStringList{QStringLiteral("年を入力してください。")});
    QCOMPARE(dialog->focusWidget(), year);
    QVERIFY(dialog->isVisible());
}

void PurchaseDialogTest::okAddsSortsAndSaves() {
    TCost* later = m_costs->add();
    later->nen = QStringLiteral("2014");
    later->tuki = QStringLiteral("5");
    later->hi = QStringLiteral("3");
    TForm15* dialog = open(nullptr, QStringLiteral("2013"), QStringLiteral("1"), QStringLiteral("7"));
    scriptLine(QStringLiteral("堆肥"), QStringLiteral("1200"));
    click(*dialog, "lineAddButton");
    click(*dialog, "okButton");
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QVERIFY(dialog->cost());
    QCOMPARE(m_costs->count(), 2);
    QCOMPARE(m_costs->at(0), dialog->cost());
    QCOMPARE(m_costs->at(0)->DateText(), QStringLiteral("2013/1/7"));
    QCOMPARE(m_costs->at(0)->NamesText(), QStringLiteral("堆肥"));
    TCostList reread;
    QVERIFY(reread.LoadFromFile(m_platform->dataFolder(), *m_platform));
    QCOMPARE(reread.count(), 2);
    QCOMPARE(reread.at(0)->DateText(), QStringLiteral("2013/1/7"));
    QCOMPARE(reread.at(0)->sina.at(0)->kingaku, QStringLiteral("1200"));
    QVERIFY(m_platform->allShown().isEmpty());
}

void PurchaseDialogTest::okAcceptsAPurchaseWithoutLines() {
    TForm15* dialog = open(nullptr);
    click(*dialog, "okButton");
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(m_costs->count(), 1);
    QCOMPARE(m_costs->at(0)->DateText(), QStringLiteral("2014/3/31"));
    QCOMPARE(m_costs->at(0)->sina.count(), 0);
}

void PurchaseDialogTest::okOnAChangedPurchaseReplacesItsLines() {
    TCost* cost = m_costs->add();
    cost->nen = QStringLiteral("2014");
    cost->tuki = QStringLiteral("5");
    cost->hi = QStringLiteral("3");
    cost->sina.add()->name = QStringLiteral("古い");
    TForm15* dialog = open(cost, cost->nen, cost->tuki, cost->hi);
    clickRow(child<TListView3>(*dialog, "lineList"), 0);
    m_platform->answers.enqueue(true);
    click(*dialog, "lineDeleteButton");
    scriptLine(QStringLiteral("種"), QStringLiteral("300"));
    click(*dialog, "lineAddButton");
    choose(child<QComboBox>(*dialog, "monthCombo"), QStringLiteral("6"));
    choose(child<QComboBox>(*dialog, "dayCombo"), QStringLiteral("2"));
    click(*dialog, "okButton");
    QCOMPARE(dialog->cost(), cost);
    QCOMPARE(m_costs->count(), 1);
    QCOMPARE(cost->DateText(), QStringLiteral("2014/6/2"));
    QCOMPARE(cost->NamesText(), QStringLiteral("種"));
}

void PurchaseDialogTest::failedSaveStillClosesWithOk() {
    m_platform = std::make_unique<ScriptedPlatform>(m_dir->path() + QStringLiteral("/missing/"));
    m_platform->date = QDate(2014, 3, 31);
    TForm15* dialog = open(nullptr);
    click(*dialog, "okButton");
    QCOMPARE(m_platform->messages, QStringList{QStringLiteral("データの保存に失敗しました（cost）。")});
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(m_costs->count(), 1);
}

void PurchaseDialogTest::addedLineShowsItsAmountAndTotal() {
    TForm15* dialog = open(nullptr);
    scriptLine(QStringLiteral("苗"), QStringLiteral("0500"));
    click(*dialog, "lineAddButton");
    scriptLine(QStringLiteral("支柱"), QStringLiteral("1200"));
    click(*dialog, "lineAddButton");
    auto* list = child<TListView3>(*dialog, "lineList");
    QCOMPARE(list->rowCount(), 2);
    QCOMPARE(list->row(0)->text(2), QStringLiteral("500円"));
    QCOMPARE(child<QLabel>(*dialog, "totalLabel")->text(), QStringLiteral("合計 1,700円"));
    click(*dialog, "okButton");
    QCOMPARE(m_costs->at(0)->sina.at(0)->kingaku, QStringLiteral("0500"));
}

void PurchaseDialogTest::totalsPastThirtyTwoBitsShowInFull() {
    TForm15* dialog = open(nullptr);
    scriptLine(QStringLiteral("温室"), QStringLiteral("3000000000"));
    click(*dialog, "lineAddButton");
    scriptLine(QStringLiteral("温室"), QStringLiteral("3000000000"));
    click(*dialog, "lineAddButton");
    QCOMPARE(child<TListView3>(*dialog, "lineList")->row(0)->text(2), QStringLiteral("3,000,000,000円"));
    QCOMPARE(child<QLabel>(*dialog, "totalLabel")->text(), QStringLiteral("合計 6,000,000,000円"));
}

void PurchaseDialogTest::lineChecksNameBeforeAmount() {
    TForm15* dialog = open(nullptr);
    onModal<TForm16>([this](TForm16& line) {
        QCOMPARE(line.windowTitle(), QStringLiteral("購入内容"));
        click(line, "okButton");
        QCOMPARE(m_platform->messages, QStringList{QStringLiteral("購入内容を入力してください。")});
        QCOMPARE(line.focusWidget(), child<QLineEdit>(line, "nameEdit"));
        child<QLineEdit>(line, "nameEdit")->setText(QStringLiteral("苗"));
        click(line, "okButton");
        QCOMPARE(m_platform->messages.last(), QStringLiteral("金額を入力してください。"));
        QCOMPARE(line.focusWidget(), child<Sujiin>(line, "kingakuEdit"));
        QVERIFY(line.isVisible());
    });
    click(*dialog, "lineAddButton");
    QCOMPARE(m_platform->messages.size(), 2);
    QCOMPARE(child<TListView3>(*dialog, "lineList")->rowCount(), 0);
}

void PurchaseDialogTest::amountFieldTakesTwelveDigits() {
    TSinaList lines;
    TForm16 dialog(*m_platform, lines, nullptr);
    dialog.show();
    auto* kingaku = child<Sujiin>(dialog, "kingakuEdit");
    QTest::keyClicks(kingaku, QStringLiteral("12345678901234"));
    QCOMPARE(kingaku->text(), QStringLiteral("123456789012"));
    QCOMPARE(kingaku->Alignment(), Sujiin::TAlignment::taRightJustify);
    QCOMPARE(kingaku->EnterColor(), QApplication::palette(kingaku).color(QPalette::Base));
    QVERIFY(child<QLineEdit>(dialog, "nameEdit")->testAttribute(Qt::WA_InputMethodEnabled));
}

void PurchaseDialogTest::lineCommandsNeedACheckedLine_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("変更") << "lineChangeButton";
    QTest::newRow("削除") << "lineDeleteButton";
}

void PurchaseDialogTest::lineCommandsNeedACheckedLine() {
    QFETCH(QString, button);
    TForm15* dialog = open(nullptr);
    scriptLine(QStringLiteral("苗"), QStringLiteral("100"));
    click(*dialog, "lineAddButton");
    click(*dialog, button.toLatin1().constData());
    QCOMPARE(m_platform->messages, QStringList{QStringLiteral("選択してください。")});
    QVERIFY(m_platform->questions.isEmpty());
    QCOMPARE(child<TListView3>(*dialog, "lineList")->rowCount(), 1);
}

void PurchaseDialogTest::lineChangeEditsTheCheckedLine() {
    TForm15* dialog = open(nullptr);
    scriptLine(QStringLiteral("苗"), QStringLiteral("100"));
    click(*dialog, "lineAddButton");
    clickRow(child<TListView3>(*dialog, "lineList"), 0);
    onModal<TForm16>([](TForm16& line) {
        QCOMPARE(child<QLineEdit>(line, "nameEdit")->text(), QStringLiteral("苗"));
        QCOMPARE(child<Sujiin>(line, "kingakuEdit")->text(), QStringLiteral("100"));
        child<QLineEdit>(line, "nameEdit")->setText(QStringLiteral("トマト苗"));
        click(line, "okButton");
    });
    click(*dialog, "lineChangeButton");
    auto* list = child<TListView3>(*dialog, "lineList");
    QCOMPARE(list->rowCount(), 1);
    QCOMPARE(list->row(0)->text(1), QStringLiteral("トマト苗"));
    QCOMPARE(list->CheckedCount(), 0);
}

void PurchaseDialogTest::lineDeleteAsksAndUpdatesTheTotal() {
    TForm15* dialog = open(nullptr);
    scriptLine(QStringLiteral("苗"), QStringLiteral("100"));
    click(*dialog, "lineAddButton");
    scriptLine(QStringLiteral("種"), QStringLiteral("250"));
    click(*dialog, "lineAddButton");
    clickRow(child<TListView3>(*dialog, "lineList"), 0);
    m_platform->answers.enqueue(true);
    click(*dialog, "lineDeleteButton");
    QCOMPARE(m_platform->questions, QStringList{QStringLiteral("削除します。よろしいですか？")});
    auto* list = child<TListView3>(*dialog, "lineList");
    QCOMPARE(list->rowCount(), 1);
    QCOMPARE(list->row(0)->text(1), QStringLiteral("種"));
    QCOMPARE(child<QLabel>(*dialog, "totalLabel")->text(), QStringLiteral("合計 250円"));
}

void PurchaseDialogTest::lineDeleteAnsweredNoKeepsTheLine() {
    TForm15* dialog = open(nullptr);
    scriptLine(QStringLiteral("苗"), QStringLiteral("100"));
    click(*dialog, "lineAddButton");
    clickRow(child<TListView3>(*dialog, "lineList"), 0);
    m_platform->answers.enqueue(false);
    click(*dialog, "lineDeleteButton");
    QCOMPARE(child<TListView3>(*dialog, "lineList")->rowCount(), 1);
    QCOMPARE(child<QLabel>(*dialog, "totalLabel")->text(), QStringLiteral("合計 100円"));
}

void PurchaseDialogTest::cancelledLineDialogChangesNothing() {
    TForm15* dialog = open(nullptr);
    onModal<TForm16>([](TForm16& line) {
        child<QLineEdit>(line, "nameEdit")->setText(QStringLiteral("苗"));
        QTest::keyClicks(child<Sujiin>(line, "kingakuEdit"), QStringLiteral("100"));
        click(line, "cancelButton");
    });
    click(*dialog, "lineAddButton");
    QCOMPARE(child<TListView3>(*dialog, "lineList")->rowCount(), 0);
    QCOMPARE(child<QLabel>(*dialog, "totalLabel")->text(), QStringLiteral("合計 0円"));
}

void PurchaseDialogTest::cancelAfterAddingALineLeavesPurchaseAndFile() {
    TCost* cost = m_costs->add();
    cost->nen = QStringLiteral("2014");
    cost->tuki = QStringLiteral("5");
    cost->hi = QStringLiteral("3");
    TSina* line = cost->sina.add();
    line->name = QStringLiteral("苗");
    line->kingaku = QStringLiteral("0500");
    saveLedger();
    const QByteArray before = readBytes(m_platform->dataFolder() + kCostFileName);
    QVERIFY(!before.isEmpty());
    TForm15* dialog = open(cost, cost->nen, cost->tuki, cost->hi);
    scriptLine(QStringLiteral("支柱"), QStringLiteral("800"));
    click(*dialog, "lineAddButton");
    QCOMPARE(child<TListView3>(*dialog, "lineList")->rowCount(), 2);
    click(*dialog, "cancelButton");
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QCOMPARE(cost->sina.count(), 1);
    QCOMPARE(cost->sina.at(0), line);
    QCOMPARE(readBytes(m_platform->dataFolder() + kCostFileName), before);
}

void PurchaseDialogTest::closingByTheFrameIsCancel() {
    TForm15* dialog = open(nullptr);
    dialog->close();
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QCOMPARE(m_costs->count(), 0);
}

QTEST_MAIN(PurchaseDialogTest)
#include "purchase_dialog_test.moc"
