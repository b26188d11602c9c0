#include "app/main_window.h"
#include "crops/crop_records.h"
#include "favourites/favourite_records.h"
#include "favourites/favourites_tab.h"
#include "plans/plan_records.h"
#include "plans/plan_tab.h"
#include "purchases/purchase_records.h"
#include "purchases/purchase_tab.h"
#include "schedule/schedule_tab.h"
#include "schedule/task_records.h"
#include "search/search_window.h"
#include "support/files.h"
#include "support/modal.h"
#include "support/scripted_platform.h"
#include "widgets/list_view3.h"
#include "widgets/page_view.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

using testsupport::whenModal;

namespace {

void addTask(TYoteiList& tasks, const QString& name, const QString& month) {
    TYotei* task = tasks.add();
    task->name = name;
    task->tuki = month;
    task->shuu = QStringLiteral("1");
}

void addPurchase(TCostList& costs, const QString& year, const QString& month, const QString& name,
                 const QString& amount) {
    TCost* cost = costs.add();
    cost->nen = year;
    cost->tuki = month;
    cost->hi = QStringLiteral("1");
    TSina* line = cost->sina.add();
    line->name = name;
    line->kingaku = amount;
}

void addEntry(TGroup& group, const QString& name) {
    TSakumotu2* entry = group.add();
    entry->name = name;
    entry->StTuki = QStringLiteral("5");
    entry->StShuu = QStringLiteral("1");
    entry->EdTuki = QStringLiteral("8");
    entry->EdShuu = QStringLiteral("4");
}

// A notebook with one record of each kind to find, each where the window
// does not show it at the start: the crop list is long, the plan entry lies in
// another plan at the foot of its chart, the task is hidden by 今週の予定, the
// purchase lies in another year than the filters end on.
void writeNotebook(const QString& folder) {
    store::RecordingSink sink;
    TSakumotuList crops;
    for (int i = 0; i < 60; ++i)
        crops.add()->name = QStringLiteral("作物%1").arg(i, 2, 10, QLatin1Char('0'));
    crops.add()->name = QStringLiteral("ナス");
    QVERIFY(crops.SaveToFile(folder, sink));

    TGroupList first;
    TGroup* bed = first.add();
    bed->name = QStringLiteral("東の畝");
    addEntry(*bed, QStringLiteral("ナス"));
    QVERIFY(first.SaveToFile(folder, QString(), QStringLiteral("sakutuke1.xml"), sink));
    TGroupList autumn;
    for (int g = 0; g < 30; ++g) {
        TGroup* group = autumn.add();
        group->name = QStringLiteral("第%1畝").arg(g + 1);
        group->order = g + 1;
        addEntry(*group, g == 29 ? QStringLiteral("トマト") : QStringLiteral("ダイコン"));
    }
    QVERIFY(autumn.SaveToFile(folder, QStringLiteral("秋の畑"), QStringLiteral("sakutuke5.xml"), sink));

    TYoteiList tasks;
    addTask(tasks, QStringLiteral("ナスの種まき"), QStringLiteral("3"));
    addTask(tasks, QStringLiteral("トマトの支柱立て"), QStringLiteral("5"));
    QVERIFY(tasks.SaveToFile(folder, sink));

    TCostList costs;
    addPurchase(costs, QStringLiteral("2013"), QStringLiteral("4"), QStringLiteral("培養土"),
                QStringLiteral("980"));
    addPurchase(costs, QStringLiteral("2014"), QStringLiteral("5"), QStringLiteral("ナスの苗"),
                QStringLiteral("300"));
    QVERIFY(costs.SaveToFile(folder, sink));

    TOkiniList okini;
    for (const char* name : {"園芸日記", "野菜の会", "種の店"}) {
        TOkini* o = okini.add();
        o->name = QString::fromUtf8(name);
        o->url = QStringLiteral("https://example.org/");
    }
    QVERIFY(okini.SaveToFile(folder, sink));
    QVERIFY(sink.messages.isEmpty());
}

// Japanese reaches the field as the input method commits it.
void type(QLineEdit* field, const QString& text) {
    QInputMethodEvent committed;
    committed.setCommitString(text);
    QApplication::sendEvent(field, &committed);
}

QTreeWidgetItem* itemOf(QTreeWidget* results, const QString& heading, const QString& title) {
    for (int i = 0; i < results->topLevelItemCount(); ++i) {
        QTreeWidgetItem* group = results->topLevelItem(i);
        if (!group->text(0).startsWith(heading))
            continue;
        for (int c = 0; c < group->childCount(); ++c)
            if (group->child(c)->text(0) == title)
                return group->child(c);
    }
    return nullptr;
}

QStringList headings(const QTreeWidget* results) {
    QStringList out;
    for (int i = 0; i < results->topLevelItemCount(); ++i)
        out << results->topLevelItem(i)->text(0);
    return out;
}

} // namespace

// The window 検索 on the real main window: found records are grouped under
// their tabs, and Enter or a double-click goes to the record.
class SearchWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void goesToEachKindOfRecord_data();
    void goesToEachKindOfRecord();
    void groupsUnderTheTabsWithCounts();
    void enterInTheFieldGoesToTheFirstAndTheQueryIsKept();

private:
    void open();
    void search(std::function<void(TFormSearch*)> action);
    QString selectedOkini() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TForm5> m_window;
};

void SearchWindowTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<ScriptedPlatform>(testsupport::folderOf(*m_dir));
    writeNotebook(m_platform->dataFolder());
    m_window = std::make_unique<TForm5>(*m_platform);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    // The purchases end on their latest year.
    QComboBox* years = m_window->purchaseTab()->years();
    years->setCurrentIndex(years->findText(QStringLiteral("2014")));
}

void SearchWindowTest::cleanup() {
    m_window.reset();
    m_platform.reset();
    m_dir.reset();
}

// Ctrl+F on the main window, as the gardener opens it.
void SearchWindowTest::search(std::function<void(TFormSearch*)> action) {
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    bool ran = false;
    whenModal<TFormSearch>([&](TFormSearch* window) {
        ran = true;
        action(window);
    });
    QTest::keyClick(m_window.get(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(ran);
}

QString SearchWindowTest::selectedOkini() const {
    return m_window->favouritesTab()->pageView()->textCursor().selectedText();
}

void SearchWindowTest::goesToEachKindOfRecord_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("byDoubleClick");
    const auto row = [](const char* name, const char* typed, const char* heading, const char* title,
                        bool byDoubleClick) {
        QTest::newRow(name) << QString::fromUtf8(typed) << QString::fromUtf8(heading)
                            << QString::fromUtf8(title) << byDoubleClick;
    };
    row("crop, far down the list", "なす", "作物一覧", "ナス", false);
    row("plan entry of another plan", "ﾄﾏﾄ", "作付計画", "トマト", true);
    row("task the filter hides", "支柱", "予定", "トマトの支柱立て", false);
    row("purchase line of another year", "培養土", "購入履歴", "培養土", true);
    row("favourite", "野菜の", "お気に入り", "野菜の会", false);
}

void SearchWindowTest::goesToEachKindOfRecord() {
    QFETCH(QString, typed);
    QFETCH(QString, heading);
    QFETCH(QString, title);
    QFETCH(bool, byDoubleClick);
    search([&](TFormSearch* window) {
        type(window->field(), typed);
        QTreeWidgetItem* item = itemOf(window->results(), heading, title);
        QVERIFY2(item, qPrintable(headings(window->results()).join(',')));
        window->results()->setFocus();
        window->results()->setCurrentItem(item);
        if (byDoubleClick) {
            // The press and release before the second press, as a real double-click comes.
            const QPoint at = window->results()->visualItemRect(item).center();
            QTest::mouseClick(window->results()->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(window->results()->viewport(), Qt::LeftButton, {}, at);
        } else {
            QTest::keyClick(window->results(), Qt::Key_Return);
        }
        QVERIFY(!window->isVisible());
    });
    QTabWidget* tabs = m_window->tabWidget();
    QCOMPARE(tabs->tabText(tabs->currentIndex()), heading);

    if (heading == QStringLiteral("作物一覧")) {
        TListView3* list = m_window->findChild<TListView3*>("cropList");
        QCOMPARE(list->CheckedCount(), 1);
        QCOMPARE(list->CheckedItem()->text(1), title);
        QVERIFY(list->viewport()->rect().intersects(list->visualItemRect(list->CheckedItem())));
    } else if (heading == QStringLiteral("作付計画")) {
        TPlanTab* plan = m_window->planTab();
        QCOMPARE(plan->planButtons()->checkedButton()->text(), QStringLiteral("秋の畑"));
        QCOMPARE(m_window->context().planFile, QStringLiteral("sakutuke5.xml"));
        QFrame* mark = plan->entryMark();
        QVERIFY(mark->isVisible());
        const TGroup* last = m_window->context().plan->at(29);
        QCOMPARE(last->at(0)->name, title);
        QCOMPARE(mark->geometry().top(), last->at(0)->Y);
        // Scrolled down to it.
        QScrollArea* area = plan->chartArea();
        const QRect shown(-area->widget()->pos(), area->viewport()->size());
        QVERIFY(shown.contains(mark->geometry()));
    } else if (heading == QStringLiteral("予定")) {
        TScheduleTab* schedule = m_window->scheduleTab();
        QCOMPARE(schedule->filters()->checkedId(), 4);
        QCOMPARE(schedule->list()->CheckedItem()->text(2), title);
    } else if (heading == QStringLiteral("購入履歴")) {
        TPurchaseTab* purchases = m_window->purchaseTab();
        QCOMPARE(purchases->years()->currentText(), QStringLiteral("2013"));
        QCOMPARE(purchases->list()->CheckedItem()->text(2), title);
    } else {
        QCOMPARE(selectedOkini(), title + QStringLiteral(" - "));
    }
}

void SearchWindowTest::groupsUnderTheTabsWithCounts() {
    search([](TFormSearch* window) {
        type(window->field(), QStringLiteral("ナス"));
        QCOMPARE(headings(window->results()),
                 (QStringList{"作物一覧　1件", "作付計画　1件", "予定　1件", "購入履歴　1件"}));
        QTreeWidgetItem* entry =
            itemOf(window->results(), QStringLiteral("作付計画"), QStringLiteral("ナス"));
        QCOMPARE(entry->text(1), QStringLiteral("計画１・東の畝　5月1週～8月4週"));
        QTreeWidgetItem* line =
            itemOf(window->results(), QStringLiteral("購入履歴"), QStringLiteral("ナスの苗"));
        QCOMPARE(line->text(1), QStringLiteral("2014/5/1　300円"));
        QCOMPARE(window->status()->text(), QStringLiteral("4件見つかりました。"));

        window->field()->setText(QStringLiteral("ピーマン"));
        QCOMPARE(window->results()->topLevelItemCount(), 0);
        QCOMPARE(window->status()->text(), QStringLiteral("見つかりませんでした。"));
    });
}

void SearchWindowTest::enterInTheFieldGoesToTheFirstAndTheQueryIsKept() {
    search([](TFormSearch* window) {
        type(window->field(), QStringLiteral("種"));
        QTest::keyClick(window->field(), Qt::Key_Return);
    });
    // 種 finds ナスの種まき first: the schedule comes before the favourites.
    QCOMPARE(m_window->tabWidget()->currentWidget(), m_window->scheduleTab());
    QCOMPARE(m_window->scheduleTab()->list()->CheckedItem()->text(2), QStringLiteral("ナスの種まき"));

    search([](TFormSearch* window) {
        QCOMPARE(window->field()->text(), QStringLiteral("種"));
        QCOMPARE(window->field()->selectedText(), QStringLiteral("種"));
        // Down goes from the field into the results, to the first found.
        QTest::keyClick(window->field(), Qt::Key_Down);
        QCOMPARE(window->results()->currentItem()->text(0), QStringLiteral("ナスの種まき"));
        // The next tab's heading is passed over.
        QTest::keyClick(window->results(), Qt::Key_Down);
        QCOMPARE(window->results()->currentItem()->text(0), QStringLiteral("種の店"));
        QTest::keyClick(window->results(), Qt::Key_Enter);
    });
    QCOMPARE(m_window->tabWidget()->currentWidget(), m_window->favouritesTab());
    QCOMPARE(selectedOkini(), QStringLiteral("種の店 - "));
}

QTEST_MAIN(SearchWindowTest)
#include "search_window_test.moc"
