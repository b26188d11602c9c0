#include "widgets/list_view3.h"

#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

namespace {

struct Record {
    QString name;
    QString key = {};
};

// Thousands of short rows, the last far wider than its column.
std::vector<Record> longList() {
    std::vector<Record> many(30000, Record{QStringLiteral("short")});
    many.back().name = QStringLiteral("a name far longer than any column is wide at first, and more");
    return many;
}

std::vector<const Record*> rowsOf(const std::vector<Record>& records) {
    std::vector<const Record*> rows;
    for (const Record& r : records)
        rows.push_back(&r);
    return rows;
}

} // namespace

// The check-mark list driven as a user drives it: real presses on the rows,
// real key clicks, and the marks read back through the list's own operations.
class ListView3Test : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsWithTheDefaults();
    void hasFixedCaptionlessCheckColumn();
    void drawsEmptyAndTickedBoxes();
    void singleCheckMovesAndClearsTheMark();
    void singleCheckUnchecksOldRowBeforeCheckingNew();
    void pressBesideTheColumnsStillHitsTheRow();
    void rightButtonPressTogglesToo();
    void doubleClickTicksOnlyThatRowAndOpensIt_data();
    void doubleClickTicksOnlyThatRowAndOpensIt();
    void doubleClickEventAloneCountsOnce();
    void pressOnEmptyAreaChangesNothing();
    void spaceOnCheckedRowUnchecksIt();
    void spaceOnAnotherRowMovesTheCheck();
    void spaceWithoutHighlightChecksNothing();
    void otherKeysReachTheList();
    void multiCheckTogglesEachRow();
    void readOnlyIgnoresSingleRowsButClearsAll();
    void withoutCheckboxes2PressesOnlyHighlight();
    void checkOnlyLeavesOneMark();
    void checkByDataChecksTheRecordsRow();
    void checkByDataWithUnknownRecordKeepsMarks();
    void emptyListHasNoCheckedRow();
    void sortRowsKeepsMarksAndEqualOrder();
    void aLongListFitsItsLastRowsAfterwards();
    void aNewRefillStopsTheOldMeasuring();
    void aHiddenListIsMeasuredOnceItShows();

private:
    QPoint rowPoint(int index, int column = 1) const;
    void press(int index, Qt::MouseButton button = Qt::LeftButton);
    QList<int> checkedRows() const;
    QStringList events;

    TListView3* m_list = nullptr;
    std::vector<Record> m_records;
};

void ListView3Test::init() {
    m_records = {{"a"}, {"b"}, {"c"}, {"d"}, {"e"}, {"f"}};
    m_list = new TListView3;
    m_list->setColumns({"name", "note"}, {100, 80});
    m_list->setTexts<Record>([](const Record& r, int column) { return column == 1 ? r.name : r.key; });
    m_list->setRecords(rowsOf(m_records));
    m_list->resize(400, 300);
    m_list->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_list));
    events.clear();
    m_list->OnCheckItem = [this](TListView3* sender, TListRow item, bool checked) {
        QCOMPARE(sender, m_list);
        events << QString("%1%2").arg(checked ? "+" : "-").arg(item->text(1));
    };
}

void ListView3Test::cleanup() {
    delete m_list;
    m_list = nullptr;
}

QPoint ListView3Test::rowPoint(int index, int column) const {
    const QRect rect = m_list->visualItemRect(m_list->row(index));
    return QPoint(m_list->header()->sectionViewportPosition(column) + 5, rect.center().y());
}

void ListView3Test::press(int index, Qt::MouseButton button) {
    QTest::mouseClick(m_list->viewport(), button, {}, rowPoint(index));
}

QList<int> ListView3Test::checkedRows() const {
    QList<int> rows;
    for (int i = 0; i < m_list->rowCount(); ++i)
        if (m_list->isChecked(i))
            rows << i;
    return rows;
}

void ListView3Test::startsWithTheDefaults() {
    TListView3 list;
    QVERIFY(!list.Checkboxes());
    QVERIFY(list.Checkboxes2());
    QVERIFY(!list.MultiCheck());
    QVERIFY(!list.CheckboxesReadOnly());
    QVERIFY(!list.OnCheckItem);
    QVERIFY(list.rootIsDecorated() == false);
    QCOMPARE(list.editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(checkedRows(), QList<int>());
}

void ListView3Test::hasFixedCaptionlessCheckColumn() {
    QCOMPARE(m_list->caption(0), QString());
    QCOMPARE(m_list->header()->sectionSize(0), 25);
    QCOMPARE(m_list->header()->sectionResizeMode(0), QHeaderView::Fixed);
    QCOMPARE(m_list->header()->sectionSize(1), 100);
    QCOMPARE(m_list->header()->sectionSize(2), 80);
    QCOMPARE(m_list->row(0)->text(0), QString());
    QCOMPARE(TListView3::rowData(m_list->row(2)), static_cast<const void*>(&m_records[2]));
    QVERIFY(!(m_list->row(0)->flags() & Qt::ItemIsEditable));
}

void ListView3Test::drawsEmptyAndTickedBoxes() {
    auto greenPixels = [](const QImage& image) {
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                count += c.alpha() > 128 && c.green() > 120 && c.red() < 100 && c.blue() < 100 ? 1 : 0;
            }
        return count;
    };
    const QImage empty = TListView3::checkPicture(false).toImage();
    const QImage ticked = TListView3::checkPicture(true).toImage();
    QCOMPARE(empty.size(), QSize(16, 20));
    QCOMPARE(ticked.size(), QSize(16, 20));
    QCOMPARE(greenPixels(empty), 0);
    QVERIFY(greenPixels(ticked) > 10);
    QCOMPARE(m_list->iconSize(), QSize(16, 20));
}

void ListView3Test::singleCheckMovesAndClearsTheMark() {
    press(2);
    QCOMPARE(checkedRows(), QList<int>({2}));
    press(5);
    QCOMPARE(checkedRows(), QList<int>({5}));
    press(5);
    QCOMPARE(checkedRows(), QList<int>());
    QCOMPARE(m_list->CheckedIndex(), -1);
}

void ListView3Test::singleCheckUnchecksOldRowBeforeCheckingNew() {
    press(1);
    press(4);
    QCOMPARE(events, QStringList({"+b", "-b", "+e"}));
    QCOMPARE(m_list->CheckedItem(), m_list->row(4));
}

void ListView3Test::pressBesideTheColumnsStillHitsTheRow() {
    const QPoint beside(m_list->viewport()->width() - 5, rowPoint(3).y());
    QVERIFY(m_list->header()->logicalIndexAt(beside.x()) == -1);
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, beside);
    QCOMPARE(checkedRows(), QList<int>({3}));
}

void ListView3Test::rightButtonPressTogglesToo() {
    press(0, Qt::RightButton);
    QCOMPARE(checkedRows(), QList<int>({0}));
}

void ListView3Test::doubleClickTicksOnlyThatRowAndOpensIt_data() {
    QTest::addColumn<int>("checkedBefore");
    QTest::addColumn<QStringList>("expectedEvents");
    QTest::newRow("no row checked") << -1 << QStringList({"+d"});
    QTest::newRow("that row checked") << 3 << QStringList({"-d", "+d"});
    QTest::newRow("another row checked") << 1 << QStringList({"-b", "+d"});
}

void ListView3Test::doubleClickTicksOnlyThatRowAndOpensIt() {
    QFETCH(int, checkedBefore);
    QFETCH(QStringList, expectedEvents);
    if (checkedBefore >= 0)
        m_list->CheckItem(checkedBefore);
    events.clear();
    QSignalSpy opened(m_list, &TListView3::opened);
    // Through the window, so the platform turns the second press into a double click.
    QWindow* window = m_list->windowHandle();
    const QPoint at = m_list->viewport()->mapTo(m_list, rowPoint(3));
    QTest::mouseDClick(window, Qt::LeftButton, {}, at);
    QCOMPARE(events, expectedEvents);
    QCOMPARE(checkedRows(), QList<int>({3}));
    QCOMPARE(opened.count(), 1);
    QCOMPARE(opened.at(0).at(0).toInt(), 3);
}

void ListView3Test::doubleClickEventAloneCountsOnce() {
    // The tree view forwards a double click on another cell than the last press
    // to its press handler; the row must still toggle only once.
    press(0);
    QTest::mouseDClick(m_list->viewport(), Qt::LeftButton, {}, rowPoint(3, 2));
    QCOMPARE(checkedRows(), QList<int>({3}));
    QCOMPARE(events, QStringList({"+a", "-a", "+d"}));
}

void ListView3Test::pressOnEmptyAreaChangesNothing() {
    press(1);
    QCOMPARE(m_list->currentItem(), m_list->row(1));
    const QPoint below(60, m_list->visualItemRect(m_list->row(5)).bottom() + 30);
    QVERIFY(!m_list->itemAt(below));
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, below);
    QTest::mouseDClick(m_list->viewport(), Qt::LeftButton, {}, below);
    QCOMPARE(checkedRows(), QList<int>({1}));
    QCOMPARE(events, QStringList({"+b"}));
    QVERIFY(m_list->row(1)->isSelected());
}

void ListView3Test::spaceOnCheckedRowUnchecksIt() {
    press(2);
    QVERIFY(m_list->row(2)->isSelected());
    QTest::keyClick(m_list, Qt::Key_Space);
    QCOMPARE(checkedRows(), QList<int>());
    QCOMPARE(events, QStringList({"+c", "-c"}));
}

void ListView3Test::spaceOnAnotherRowMovesTheCheck() {
    press(2);
    QTest::keyClick(m_list, Qt::Key_Down);
    QTest::keyClick(m_list, Qt::Key_Down);
    QVERIFY(m_list->row(4)->isSelected());
    QCOMPARE(checkedRows(), QList<int>({2}));
    QTest::keyClick(m_list, Qt::Key_Space);
    QCOMPARE(checkedRows(), QList<int>({4}));
    QCOMPARE(events, QStringList({"+c", "-c", "+e"}));
}

void ListView3Test::spaceWithoutHighlightChecksNothing() {
    m_list->selectionModel()->setCurrentIndex(m_list->row(3).modelIndex(), QItemSelectionModel::NoUpdate);
    QVERIFY(!m_list->selectionModel()->hasSelection());
    QTest::keyClick(m_list, Qt::Key_Space);
    QCOMPARE(checkedRows(), QList<int>());
    // The list itself still took the key and highlighted its focused row.
    QVERIFY(m_list->row(3)->isSelected());
}

void ListView3Test::otherKeysReachTheList() {
    press(0);
    QTest::keyClick(m_list, Qt::Key_End);
    QCOMPARE(m_list->currentItem(), m_list->row(5));
    QCOMPARE(checkedRows(), QList<int>({0}));
}

void ListView3Test::multiCheckTogglesEachRow() {
    m_list->setMultiCheck(true);
    press(1);
    press(3);
    QCOMPARE(checkedRows(), QList<int>({1, 3}));
    QCOMPARE(m_list->CheckedCount(), 2);
    QCOMPARE(m_list->CheckedIndex(), 1);
    press(1);
    QCOMPARE(checkedRows(), QList<int>({3}));
    QTest::keyClick(m_list, Qt::Key_Space); // the highlight is on row 1
    QCOMPARE(checkedRows(), QList<int>({1, 3}));
}

void ListView3Test::readOnlyIgnoresSingleRowsButClearsAll() {
    m_list->CheckItem(1);
    m_list->CheckItem(2);
    events.clear();
    m_list->setCheckboxesReadOnly(true);
    m_list->CheckItem(4);
    m_list->UncheckItem(1);
    press(5);
    QTest::keyClick(m_list, Qt::Key_Space);
    QCOMPARE(checkedRows(), QList<int>({1, 2}));
    QCOMPARE(events, QStringList());
    m_list->CheckOnly(3);
    QCOMPARE(checkedRows(), QList<int>());
    m_list->CheckItem(0);
    m_list->UncheckAll();
    QCOMPARE(events, QStringList());
}

void ListView3Test::withoutCheckboxes2PressesOnlyHighlight() {
    m_list->setCheckboxes2(false);
    press(2);
    QTest::keyClick(m_list, Qt::Key_Space);
    QCOMPARE(checkedRows(), QList<int>());
    QVERIFY(m_list->row(2)->isSelected());
}

void ListView3Test::checkOnlyLeavesOneMark() {
    m_list->CheckItem(0);
    m_list->CheckItem(5);
    events.clear();
    m_list->CheckOnly(3);
    QCOMPARE(checkedRows(), QList<int>({3}));
    QCOMPARE(events, QStringList({"+d"}));
}

void ListView3Test::checkByDataChecksTheRecordsRow() {
    m_list->CheckItem(0);
    CheckByData(&m_records[4], m_list);
    QCOMPARE(checkedRows(), QList<int>({4}));
    QCOMPARE(m_list->checkedRecord<Record>(), &m_records[4]);
}

void ListView3Test::checkByDataWithUnknownRecordKeepsMarks() {
    m_list->CheckItem(2);
    const Record stranger{"x"};
    CheckByData(&stranger, m_list);
    QCOMPARE(checkedRows(), QList<int>({2}));
    CheckByData(nullptr, m_list);
    QCOMPARE(checkedRows(), QList<int>({2}));
}

void ListView3Test::emptyListHasNoCheckedRow() {
    m_list->clear();
    QCOMPARE(m_list->CheckedIndex(), -1);
    QVERIFY(m_list->CheckedItem().isNull());
    QCOMPARE(m_list->CheckedCount(), 0);
    QCOMPARE(m_list->checkedRecord<Record>(), nullptr);
    QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, QPoint(50, 10));
    QTest::keyClick(m_list, Qt::Key_Space);
    m_list->CheckItem(0);
    m_list->UncheckAll();
    CheckByData(&m_records[0], m_list);
    QCOMPARE(m_list->CheckedCount(), 0);
    QCOMPARE(events, QStringList());
}

void ListView3Test::sortRowsKeepsMarksAndEqualOrder() {
    const char* keys[] = {"2", "1", "2", "1", "0", "2"};
    for (int i = 0; i < 6; ++i)
        m_records[size_t(i)].key = keys[i];
    press(2);
    m_list->sortRows<Record>([](const Record& a, const Record& b) { return a.key < b.key; });
    QStringList order;
    for (int i = 0; i < m_list->rowCount(); ++i)
        order << m_list->row(i)->text(1);
    QCOMPARE(order, QStringList({"e", "b", "d", "a", "c", "f"}));
    QCOMPARE(checkedRows(), QList<int>({4}));
    QCOMPARE(m_list->checkedRecord<Record>(), &m_records[2]);
    QCOMPARE(m_list->currentItem()->text(1), QString("c"));
}

// A list of many thousand rows shows at once; the columns take the longest
// text of its last rows a moment later, as the event loop runs.
void ListView3Test::aLongListFitsItsLastRowsAfterwards() {
    const std::vector<Record> many = longList();
    m_list->setRecords(rowsOf(many));
    QVERIFY(m_list->isFitting());
    QCOMPARE(m_list->header()->sectionSize(1), 100);
    while (m_list->isFitting())
        QCoreApplication::processEvents();
    QVERIFY(m_list->header()->sectionSize(1) > 100);
    QVERIFY(!m_list->isCutOff(int(many.size()) - 1, 1));
    m_list->clear();
    QCOMPARE(m_list->header()->sectionSize(1), 100);
}

void ListView3Test::aNewRefillStopsTheOldMeasuring() {
    auto many = std::make_unique<std::vector<Record>>(longList());
    m_list->setRecords(rowsOf(*many));
    QVERIFY(m_list->isFitting());
    // The rows go before their records do; nothing of them may be read afterwards.
    m_list->setRecords(std::vector<const Record*>{&m_records[0]});
    many.reset();
    QVERIFY(!m_list->isFitting());
    QCoreApplication::processEvents();
    QCOMPARE(m_list->header()->sectionSize(1), 100);
}

// A list out of sight is not measured past its first rows until it shows:
// the tabs behind the one in view cost nothing at the start.
void ListView3Test::aHiddenListIsMeasuredOnceItShows() {
    const std::vector<Record> many = longList();
    m_list->hide();
    m_list->setRecords(rowsOf(many));
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    QVERIFY(m_list->isFitting());
    QCOMPARE(m_list->header()->sectionSize(1), 100);
    m_list->show();
    while (m_list->isFitting())
        QCoreApplication::processEvents();
    QVERIFY(!m_list->isCutOff(int(many.size()) - 1, 1));
}

QTEST_MAIN(ListView3Test)
#include "list_view3_test.moc"
