#include "app/main_window.h"
#include "crops/crop_records.h"
#include "history_ui/undo_commands.h"
#include "plans/crop_pick_dialog.h"
#include "plans/entry_dialog.h"
#include "plans/entry_pick_dialog.h"
#include "plans/plan_records.h"
#include "plans/plan_tab.h"
#include "schedule/schedule_tab.h"
#include "schedule/task_records.h"
#include "seasons/season_panel.h"
#include "seasons/season_records.h"
#include "store/notebook_files.h"
#include "support/files.h"
#include "support/modal.h"
#include "support/scripted_platform.h"
#include "widgets/list_view3.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

using testsupport::folderOf;
using testsupport::readBytes;

namespace {

const QDate kMay(2026, 5, 10);

// A notebook whose first plan grows ナス in 北畝 this year, and whose 2025
// season grew ナス there too; ナス should rest four years.
void writeNotebook(const QString& folder) {
    store::RecordingSink sink;
    TSakumotuList crops;
    TSakumotu* nasu = crops.add();
    nasu->name = QStringLiteral("ナス");
    nasu->kamoku = QStringLiteral("ナス科ナス属");
    nasu->memo << QStringLiteral("連作障害：４～５年あける");
    TSakumotu* negi = crops.add();
    negi->name = QStringLiteral("ネギ");
    negi->kamoku = QStringLiteral("ヒガンバナ科ネギ属");
    crops.SaveToFile(folder, sink);
    TGroupList plan;
    TGroup* north = plan.add();
    north->name = QStringLiteral("北畝");
    north->order = 1;
    TSakumotu2* entry = north->add();
    entry->name = QStringLiteral("ナス");
    entry->StTuki = QStringLiteral("5");
    entry->StShuu = QStringLiteral("1");
    entry->EdTuki = QStringLiteral("10");
    entry->EdShuu = QStringLiteral("2");
    TGroup* south = plan.add();
    south->name = QStringLiteral("南畝");
    south->order = 2;
    plan.SaveToFile(folder, QStringLiteral("家庭菜園"), PlanFiles()[0].fileName, sink);
    seasons::Seasons kept;
    kept.keepPlan(2025, PlanFiles()[0].fileName, QStringLiteral("家庭菜園"), plan, QDate(2025, 12, 1));
    kept.SavePastPlans(folder, sink);
    TYoteiList tasks;
    TYotei* task = tasks.add();
    task->name = QStringLiteral("種まき");
    task->tuki = QStringLiteral("4");
    task->shuu = QStringLiteral("2");
    task->state = kYoteiDone;
    tasks.SaveToFile(folder, sink);
    QVERIFY(sink.messages.isEmpty());
}

// Fills the entry dialog for the group, on a new last row, and presses OK.
void placeInGroup(TForm9* dialog, const QString& group) {
    auto* groups = dialog->findChild<QComboBox*>(QStringLiteral("groupCombo"));
    QVERIFY(groups);
    groups->setCurrentIndex(groups->findText(group));
    for (const char* name : {"stTukiCombo", "stShuuCombo", "edTukiCombo", "edShuuCombo"}) {
        auto* box = dialog->findChild<QComboBox*>(QString::fromLatin1(name));
        QVERIFY2(box, name);
        box->setCurrentIndex(3);
    }
    auto* rows = dialog->findChild<QComboBox*>(QStringLiteral("rowCombo"));
    QVERIFY(rows);
    rows->setCurrentIndex(rows->count() - 1);
    QTest::mouseClick(dialog->findChild<QAbstractButton*>(QStringLiteral("okButton")), Qt::LeftButton);
}

// Adds the crop through the plan tab's 追加 as a user does, the entry dialog handled by fill.
void addThroughTab(TPlanTab* tab, const QString& crop, std::function<void(TForm9*)> fill) {
    testsupport::whenModal<TForm10>([crop, fill](TForm10* picker) {
        auto* list = picker->findChild<QListWidget*>(QStringLiteral("cropPickList"));
        QVERIFY(list);
        list->setCurrentItem(list->findItems(crop, Qt::MatchExactly).value(0));
        testsupport::whenModal<TForm9>(fill);
        QTest::mouseClick(picker->findChild<QAbstractButton*>(QStringLiteral("okButton")), Qt::LeftButton);
    });
    tab->Button3Click();
}

int entriesIn(const QString& folder, const QString& group) {
    TGroupList plan;
    store::RecordingSink sink;
    plan.LoadFromFile(folder, PlanFiles()[0].fileName, sink);
    const TGroup* found = plan.FindGroup(group);
    return found ? found->count() : -1;
}

} // namespace

class SeasonTabsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void planTabShowsTheYearAndTheWarning();
    void menuButtonsShowTheirWholeText_data();
    void menuButtonsShowTheirWholeText();
    void entryDialogAsksBeforeAddingAndNoReturnsToIt();
    void entryPickerTintsTheEntriesThatCameTooSoon();
    void yearSetFromThePlanTabIsKeptAndUndone();
    void yearlyClearKeepsTheScheduleUnderTheYearThatEnds();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TForm5> m_window;
    QString m_folder;
};

void SeasonTabsTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_folder = folderOf(*m_dir);
    writeNotebook(m_folder);
    m_platform = std::make_unique<ScriptedPlatform>(m_folder);
    m_platform->date = kMay;
    m_platform->keepHistory = true;
    m_window = std::make_unique<TForm5>(*m_platform);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void SeasonTabsTest::cleanup() {
    m_window.reset();
    m_platform.reset();
    m_dir.reset();
}

// The whole text beside the menu arrow the style draws inside the button.
void SeasonTabsTest::menuButtonsShowTheirWholeText_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("tab");
    QTest::newRow("year of the plan") << QStringLiteral("seasonButton") << 2;
    QTest::newRow("past schedules") << QStringLiteral("pastScheduleButton") << 3;
}
void SeasonTabsTest::menuButtonsShowTheirWholeText() {
    QFETCH(QString, button);
    QFETCH(int, tab);
    m_window->tabWidget()->setCurrentIndex(tab);
    const auto* b = m_window->findChild<QToolButton*>(button);
    QVERIFY(b && b->isVisible());
    // The text is centred over the whole button; the arrow takes the corner on the right.
    const int text = b->fontMetrics().horizontalAdvance(b->text());
    const int arrow = b->style()->pixelMetric(QStyle::PM_MenuButtonIndicator, nullptr, b);
    QVERIFY2((b->width() + text) / 2 <= b->width() - arrow,
             qPrintable(QStringLiteral("%1 px for %2 px of text").arg(b->width()).arg(text)));
}

void SeasonTabsTest::planTabShowsTheYearAndTheWarning() {
    auto* year = m_window->findChild<QToolButton*>(QStringLiteral("seasonButton"));
    auto* warning = m_window->findChild<QLabel*>(QStringLiteral("rotationWarning"));
    QVERIFY(year && warning);
    QCOMPARE(year->text(), QStringLiteral("2026年度（今年）"));
    QVERIFY(!warning->isHidden());
    QCOMPARE(warning->text(), QStringLiteral("連作注意 1件"));
    QCOMPARE(warning->toolTip(),
             QStringLiteral("北畝　ナス　連作の注意：2025年度 ナス（ナス科は4～5年あける）"));
    // Another plan holds nothing that came too soon.
    m_window->planTab()->planButtons()->button(2)->click();
    QVERIFY(warning->isHidden());
    QVERIFY(m_platform->messages.isEmpty());
}

void SeasonTabsTest::entryDialogAsksBeforeAddingAndNoReturnsToIt() {
    TPlanTab* tab = m_window->planTab();
    m_platform->answers << false << true;
    bool stayedOpen = false;
    addThroughTab(tab, QStringLiteral("ナス"), [&](TForm9* dialog) {
        placeInGroup(dialog, QStringLiteral("北畝"));
        stayedOpen = dialog->isVisible();
        placeInGroup(dialog, QStringLiteral("北畝"));
    });
    QVERIFY(stayedOpen);
    QCOMPARE(m_platform->questions.size(), 2);
    QCOMPARE(m_platform->questions[0],
             QStringLiteral("「北畝」には、同じ科の作物が連作障害の目安の年数のうちに育っています。\n"
                            "　2025年度：ナス（ナス科）\n"
                            "ナスは 4～5年 あけるのが目安です。このまま追加しますか？"));
    QCOMPARE(entriesIn(m_folder, QStringLiteral("北畝")), 2);
    // A bed where the family never grew is not asked about; neither is a family without a gap.
    addThroughTab(tab, QStringLiteral("ナス"),
                  [](TForm9* dialog) { placeInGroup(dialog, QStringLiteral("南畝")); });
    addThroughTab(tab, QStringLiteral("ネギ"),
                  [](TForm9* dialog) { placeInGroup(dialog, QStringLiteral("北畝")); });
    QCOMPARE(m_platform->questions.size(), 2);
    QCOMPARE(entriesIn(m_folder, QStringLiteral("南畝")), 1);
    QCOMPARE(entriesIn(m_folder, QStringLiteral("北畝")), 3);
}

void SeasonTabsTest::entryPickerTintsTheEntriesThatCameTooSoon() {
    QStringList tips;
    QList<QColor> colours;
    testsupport::whenModal<TForm6>([&](TForm6* picker) {
        TListView3* list = picker->list();
        for (int i = 0; i < list->rowCount(); ++i) {
            tips << list->row(i)->toolTip(2);
            colours << list->row(i)->foreground(2).color();
        }
    });
    m_window->planTab()->Button6Click();
    QCOMPARE(tips, QStringList{QStringLiteral("連作の注意：2025年度 ナス（ナス科は4～5年あける）")});
    QCOMPARE(colours.value(0), QColor(176, 72, 0));
}

void SeasonTabsTest::yearSetFromThePlanTabIsKeptAndUndone() {
    const QByteArray planBytes = readBytes(m_folder + PlanFiles()[0].fileName);
    auto* tab = m_window->planTab();
    auto* panel = m_window->findChild<seasons::TSeasonPanel*>();
    QVERIFY(panel);
    panel->SetYear(2031); // five years after 2025: the bed has rested
    auto* year = m_window->findChild<QToolButton*>(QStringLiteral("seasonButton"));
    auto* warning = m_window->findChild<QLabel*>(QStringLiteral("rotationWarning"));
    QCOMPARE(year->text(), QStringLiteral("2031年度"));
    QVERIFY(warning->isHidden());
    seasons::Seasons read;
    store::RecordingSink sink;
    QVERIFY(read.LoadFromFolder(m_folder, sink));
    QCOMPARE(read.yearOf(PlanFiles()[0].fileName), std::optional<int>(2031));

    panel->KeepSeason();
    QVERIFY(read.LoadFromFolder(m_folder, sink));
    QVERIFY(read.findPastPlan(2031, PlanFiles()[0].fileName));

    m_window->undoCommands()->Undo(); // the kept season
    m_window->undoCommands()->Undo(); // the year
    QCOMPARE(year->text(), QStringLiteral("2026年度（今年）"));
    QVERIFY(!warning->isHidden());
    QVERIFY(read.LoadFromFolder(m_folder, sink));
    QCOMPARE(read.yearOf(PlanFiles()[0].fileName), std::nullopt);
    QVERIFY(!read.findPastPlan(2031, PlanFiles()[0].fileName));
    QCOMPARE(readBytes(m_folder + PlanFiles()[0].fileName), planBytes);
    QVERIFY(sink.messages.isEmpty());
    Q_UNUSED(tab);
}

void SeasonTabsTest::yearlyClearKeepsTheScheduleUnderTheYearThatEnds() {
    m_platform->date = QDate(2027, 2, 1); // the clear after new year closes 2026
    m_platform->answers << true;
    m_window->scheduleTab()->ClearButtonClick();
    QCOMPARE(m_platform->questions.value(0),
             QStringLiteral(
                 "すべての完了をクリアします。年が変わった時などに行ってください。完了をクリアしますか？\n"
                 "この一年の予定と完了の記録は 2026 年度として残ります。"));
    seasons::Seasons read;
    store::RecordingSink sink;
    QVERIFY(read.LoadFromFolder(m_folder, sink));
    QCOMPARE(int(read.pastSchedules().size()), 1);
    QCOMPARE(read.pastSchedules()[0].year, 2026);
    QCOMPARE(read.pastSchedules()[0].tasks->at(0)->state, kYoteiDone);
    TYoteiList tasks;
    QVERIFY(tasks.LoadFromFile(m_folder, sink));
    QCOMPARE(tasks.at(0)->state, QString());

    m_window->undoCommands()->Undo(); // the clear and the keeping, one change
    QVERIFY(!QFile::exists(m_folder + kKakoYoteiFileName));
    QVERIFY(tasks.LoadFromFile(m_folder, sink));
    QCOMPARE(tasks.at(0)->state, kYoteiDone);
    QVERIFY(sink.messages.isEmpty());
}

QTEST_MAIN(SeasonTabsTest)
#include "season_tabs_test.moc"
