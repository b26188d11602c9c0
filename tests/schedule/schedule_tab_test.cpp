#include "crops/crop_records.h"
#include "plans/entry_pick_dialog.h"
#include "plans/plan_records.h"
#include "schedule/merge_dialog.h"
#include "schedule/quote_dialog.h"
#include "schedule/schedule_tab.h"
#include "schedule/task_dialog.h"
#include "schedule_support.h"
#include "support/scripted_platform.h"
#include "widgets/app_context.h"
#include "widgets/list_view3.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace scheduletest;

namespace {

const QString kAdded = QStringLiteral(
    "予定を追加しました。「すべて」ラジオボタンをクリックして追加されていることを確認してください。");
const QString kMerged =
    QStringLiteral("予定をまとめました。「すべて」ラジオボタンをクリックして確認してください。");
const QString kChoose = QStringLiteral("予定を選択してください。");
const QString kClearQuestion =
    QStringLiteral("すべての完了をクリアします。年が変わった時などに行ってください。完了をクリアしますか？");

// Thursday 14 May 2026: the 1st is a Friday, so the 14th lies in week 3.
const QDate kMay14(2026, 5, 14);

// A schedule that tells every filter apart on 14 May 2026.
QList<Seed> mixedSchedule() {
    return {
        {"今週", "5", "3", "", {}},         {"今週完了", "5", "3", "完了", {}},
        {"今週追加", "5", "3", "追加", {}}, {"先週", "5", "2", "", {}},
        {"四月", "4", "5", "", {}},         {"四月完了", "4", "1", "完了", {}},
        {"一月追加", "1", "1", "追加", {}}, {"六月", "6", "1", "", {}},
        {"十二月", "12", "5", "", {}},      {"来週", "5", "4", "", {}},
        {"変な月", "x", "1", "", {}},
    };
}

} // namespace

class ScheduleTabTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void layoutOfTheTab();
    void filters_data();
    void filters();
    void sixthWeekShowsWeekFiveAsThisWeekAndPast();
    void readsTodayAfreshOnEveryRefresh();
    void rowsShowWeekNameNoteAndState();
    void completedRowsAreGrey();
    void commandsNeedACheckedTask_data();
    void commandsNeedACheckedTask();
    void doneUnderPastMakesTheRowVanish();
    void doneUnderAllRechecksTheTask();
    void undoneUnderDoneMakesTheRowVanish();
    void deleteAsksAndRemoves();
    void deleteAnsweredNoKeepsTheTask();
    void deletingTheOnlyTaskLeavesAnEmptyFile();
    void clearWithYesRewritesTheFile();
    void clearWithNoDoesNothing();
    void addRefreshesAndPointsToAll();
    void cancelledAddShowsNothing();
    void changeRechecksTheTask();
    void quotePicksAnEntryWithoutDummiesAndAdds();
    void cancelledPickerStopsTheQuote();
    void cancelledQuoteShowsNothing();
    void mergeReportsAndMerges();
    void cancelledMergeShowsNothing();
    void showHandsTheCheckedTaskToTheCard();
    void refreshOfManyTasksStaysQuick();

private:
    void seed(const QList<Seed>& seeds);
    void plantBed();
    void choose(int filter);
    void click(const char* button);
    QStringList shownNames() const;
    int rowOf(const QString& name) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TYoteiList> m_tasks;
    std::unique_ptr<TGroupList> m_plan;
    AppContext m_context;
    std::unique_ptr<TScheduleTab> m_tab;
};

void ScheduleTabTest::init() {
    m_tab.reset();
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<ScriptedPlatform>(m_dir->path() + QLatin1Char('/'));
    m_platform->date = kMay14;
    m_tasks = std::make_unique<TYoteiList>();
    m_context = AppContext();
    m_context.platform = m_platform.get();
    m_context.tasks = m_tasks.get();
    m_plan = std::make_unique<TGroupList>();
    m_context.plan = m_plan.get();
    m_tab = std::make_unique<TScheduleTab>(m_context);
    m_tab->resize(776, 600);
    m_tab->show();
}

void ScheduleTabTest::seed(const QList<Seed>& seeds) {
    fill(*m_tasks, seeds);
    QVERIFY(m_tasks->SaveToFile(m_platform->dataFolder(), *m_platform));
    m_tab->YoteiRadioButtonClick();
}

void ScheduleTabTest::choose(int filter) {
    QTest::mouseClick(m_tab->filters()->button(filter), Qt::LeftButton, {}, QPoint(6, 6));
}

void ScheduleTabTest::click(const char* button) {
    QTest::mouseClick(m_tab->findChild<QPushButton*>(QString::fromLatin1(button)), Qt::LeftButton);
}

QStringList ScheduleTabTest::shownNames() const {
    QStringList names;
    for (int i = 0; i < m_tab->list()->rowCount(); ++i)
        names << m_tab->list()->row(i)->text(2);
    return names;
}

int ScheduleTabTest::rowOf(const QString& name) const {
    return int(shownNames().indexOf(name));
}

void ScheduleTabTest::layoutOfTheTab() {
    QStringList captions;
    for (QAbstractButton* b : m_tab->filters()->buttons())
        captions << b->text();
    QCOMPARE(captions,
             (QStringList{"今週の予定", "今月の予定", "過ぎてる（完了してない）", "完了", "すべて"}));
    QCOMPARE(m_tab->filters()->checkedId(), 0);
    TListView3* list = m_tab->list();
    QCOMPARE(list->caption(1), QStringLiteral("週"));
    QCOMPARE(list->caption(4), QStringLiteral("状態"));
    QCOMPARE(list->header()->sectionSize(2), 250);
}

void ScheduleTabTest::filters_data() {
    QTest::addColumn<int>("filter");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("今週の予定") << 0 << QStringList{"今週", "今週完了", "今週追加"};
    QTest::newRow("今月の予定") << 1 << QStringList{"今週", "今週完了", "今週追加", "先週", "来週"};
    QTest::newRow("過ぎてる（完了してない）") << 2 << QStringList{"先週", "四月", "一月追加"};
    QTest::newRow("完了") << 3 << QStringList{"今週完了", "四月完了"};
    QTest::newRow("すべて") << 4
                            << QStringList{"今週",     "今週完了", "今週追加", "先週", "四月",  "四月完了",
                                           "一月追加", "六月",     "十二月",   "来週", "変な月"};
}

void ScheduleTabTest::filters() {
    QFETCH(int, filter);
    QFETCH(QStringList, expected);

    seed(mixedSchedule());
    choose(filter);
    QCOMPARE(m_tab->filters()->checkedId(), filter);
    QCOMPARE(shownNames(), expected);
    QCOMPARE(m_tab->list()->CheckedCount(), 0);
}

// 31 May 2026 is a Sunday after the fifth Saturday: week 6.
void ScheduleTabTest::sixthWeekShowsWeekFiveAsThisWeekAndPast() {
    m_platform->date = QDate(2026, 5, 31);
    seed({{"五週", "5", "5", "", {}}, {"五週完了", "5", "5", "完了", {}}, {"四週", "5", "4", "", {}}});
    choose(0);
    QCOMPARE(shownNames(), (QStringList{"五週", "五週完了"}));
    choose(2);
    QCOMPARE(shownNames(), (QStringList{"五週", "四週"}));
}

void ScheduleTabTest::readsTodayAfreshOnEveryRefresh() {
    seed(mixedSchedule());
    QCOMPARE(shownNames(), (QStringList{"今週", "今週完了", "今週追加"}));
    m_platform->date = QDate(2026, 6, 3);
    choose(0);
    QCOMPARE(shownNames(), QStringList{"六月"});
}

void ScheduleTabTest::rowsShowWeekNameNoteAndState() {
    seed({{"種まき", "5", "3", "追加", {"トマト", "ナス"}}, {"植えつけ", "5", "3", "", {}}});
    TListRow row = m_tab->list()->row(0);
    QCOMPARE(row->text(1), QStringLiteral("5月3週"));
    QCOMPARE(row->text(2), QStringLiteral("種まき"));
    QCOMPARE(row->text(3), QStringLiteral("トマト / ナス"));
    QCOMPARE(row->toolTip(3), QStringLiteral("トマト\nナス"));
    QCOMPARE(row->text(4), QStringLiteral("追加"));
    QCOMPARE(m_tab->list()->row(1)->text(3), QString());
    QCOMPARE(TListView3::rowData(row), static_cast<const void*>(m_tasks->at(0)));
}

void ScheduleTabTest::completedRowsAreGrey() {
    seed({{"済", "5", "3", "完了", {"n"}}, {"追", "5", "3", "追加", {}}, {"開", "5", "3", "", {}}});
    const QColor grey(128, 128, 128);
    TListView3* list = m_tab->list();
    for (int column = 1; column <= 4; ++column) {
        QCOMPARE(list->row(0)->foreground(column).color(), grey);
        QVERIFY(list->row(1)->foreground(column).style() == Qt::NoBrush);
        QVERIFY(list->row(2)->foreground(column).style() == Qt::NoBrush);
    }
}

void ScheduleTabTest::commandsNeedACheckedTask_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("完了にする") << "taskDoneButton";
    QTest::newRow("取消") << "taskUndoneButton";
    QTest::newRow("変更") << "taskChangeButton";
    QTest::newRow("表示") << "taskShowButton";
    QTest::newRow("削除") << "taskDeleteButton";
}

void ScheduleTabTest::commandsNeedACheckedTask() {
    QFETCH(QString, button);

    seed(mixedSchedule());
    bool shown = false;
    m_tab->showTaskCard = [&shown](TYotei&) { shown = true; };
    click(button.toLatin1().constData());
    QCOMPARE(m_platform->messages, QStringList{kChoose});
    QVERIFY(m_platform->questions.isEmpty());
    QVERIFY(!shown);
    QCOMPARE(reread(m_platform->dataFolder())->at(1)->state, kYoteiDone);
    QCOMPARE(m_tasks->count(), 11);
}

void ScheduleTabTest::doneUnderPastMakesTheRowVanish() {
    seed(mixedSchedule());
    choose(2);
    m_tab->list()->CheckOnly(rowOf("四月"));
    click("taskDoneButton");
    QCOMPARE(shownNames(), (QStringList{"先週", "一月追加"}));
    QCOMPARE(m_tab->list()->CheckedCount(), 0);
    QCOMPARE(m_tasks->at(4)->state, kYoteiDone);
    QCOMPARE(reread(m_platform->dataFolder())->at(4)->state, kYoteiDone);
    QVERIFY(m_platform->messages.isEmpty());
}

void ScheduleTabTest::doneUnderAllRechecksTheTask() {
    seed(mixedSchedule());
    choose(4);
    const int row = rowOf("今週追加");
    QTest::mouseClick(m_tab->list()->viewport(), Qt::LeftButton, {},
                      m_tab->list()->visualItemRect(m_tab->list()->row(row)).center());
    QCOMPARE(m_tab->list()->CheckedIndex(), row);
    click("taskDoneButton");
    QCOMPARE(m_tab->list()->CheckedIndex(), row);
    QCOMPARE(m_tab->list()->row(row)->text(4), kYoteiDone);
    // Completing keeps the order: only the dialogs sort.
    QCOMPARE(names(*m_tasks), names(*reread(m_platform->dataFolder())));
    QCOMPARE(m_tasks->at(2)->name, QStringLiteral("今週追加"));
}

void ScheduleTabTest::undoneUnderDoneMakesTheRowVanish() {
    seed(mixedSchedule());
    choose(3);
    m_tab->list()->CheckOnly(rowOf("今週完了"));
    click("taskUndoneButton");
    QCOMPARE(shownNames(), QStringList{"四月完了"});
    QCOMPARE(m_tab->list()->CheckedCount(), 0);
    QCOMPARE(reread(m_platform->dataFolder())->at(1)->state, QString());
}

void ScheduleTabTest::deleteAsksAndRemoves() {
    seed(mixedSchedule());
    choose(4);
    m_tab->list()->CheckOnly(rowOf("先週"));
    m_platform->answers.enqueue(true);
    click("taskDeleteButton");
    QCOMPARE(m_platform->questions, QStringList{"先週 を削除します。よろしいですか？"});
    QCOMPARE(m_tasks->count(), 10);
    QVERIFY(!shownNames().contains("先週"));
    QVERIFY(!names(*reread(m_platform->dataFolder())).contains("先週"));
}

void ScheduleTabTest::deleteAnsweredNoKeepsTheTask() {
    seed(mixedSchedule());
    choose(4);
    m_tab->list()->CheckOnly(rowOf("先週"));
    m_platform->answers.enqueue(false);
    click("taskDeleteButton");
    QCOMPARE(m_tasks->count(), 11);
    QCOMPARE(m_tab->list()->CheckedIndex(), rowOf("先週"));
}

void ScheduleTabTest::deletingTheOnlyTaskLeavesAnEmptyFile() {
    seed({{"一つ", "5", "3", "", {}}});
    m_tab->list()->CheckOnly(0);
    click("taskDeleteButton");
    QCOMPARE(m_tasks->count(), 0);
    QCOMPARE(m_tab->list()->rowCount(), 0);
    QVERIFY(QFile::exists(m_platform->dataFolder() + kYoteiFileName));
    QCOMPARE(reread(m_platform->dataFolder())->count(), 0);
}

void ScheduleTabTest::clearWithYesRewritesTheFile() {
    seed({{"開", "5", "3", "", {"n"}}, {"追", "5", "3", "追加", {}}});
    QFile::remove(m_platform->dataFolder() + kYoteiFileName);
    m_platform->answers.enqueue(true);
    click("taskClearButton");
    QCOMPARE(m_platform->questions, QStringList{kClearQuestion});
    QCOMPARE(m_tasks->at(1)->state, QString());
    QCOMPARE(m_tab->list()->row(1)->text(4), QString());
    const auto saved = reread(m_platform->dataFolder());
    QCOMPARE(names(*saved), (QStringList{"開", "追"}));
    QCOMPARE(saved->at(0)->note, QStringList{"n"});
}

void ScheduleTabTest::clearWithNoDoesNothing() {
    seed(mixedSchedule());
    m_platform->answers.enqueue(false);
    click("taskClearButton");
    QCOMPARE(m_tasks->at(1)->state, kYoteiDone);
    QCOMPARE(m_tasks->at(2)->state, kYoteiAdded);
}

void ScheduleTabTest::addRefreshesAndPointsToAll() {
    seed(mixedSchedule());
    QPoint offCentre(99, 99);
    whenModal<TForm11>([&](TForm11* dialog) {
        offCentre = dialog->frameGeometry().center() - m_tab->frameGeometry().center();
        dialog->findChild<QComboBox*>(QStringLiteral("nameCombo"))->setEditText(QStringLiteral("新しい"));
        dialog->findChild<QComboBox*>(QStringLiteral("monthCombo"))->setCurrentIndex(7);
        dialog->findChild<QComboBox*>(QStringLiteral("weekCombo"))->setCurrentIndex(0);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
    });
    click("taskAddButton");
    QVERIFY2(offCentre.manhattanLength() <= 2, "the dialog is centred on the main window");
    QCOMPARE(m_platform->messages, QStringList{kAdded});
    QCOMPARE(m_tasks->count(), 12);
    QVERIFY(!shownNames().contains("新しい"));
    choose(4);
    QVERIFY(shownNames().contains("新しい"));
    QCOMPARE(m_tab->list()->row(rowOf("新しい"))->text(4), kYoteiAdded);
}

void ScheduleTabTest::cancelledAddShowsNothing() {
    seed(mixedSchedule());
    whenModal<TForm11>([](TForm11* dialog) { dialog->reject(); });
    click("taskAddButton");
    QVERIFY(m_platform->messages.isEmpty());
    QCOMPARE(m_tasks->count(), 11);
}

void ScheduleTabTest::changeRechecksTheTask() {
    seed(mixedSchedule());
    choose(4);
    m_tab->list()->CheckOnly(rowOf("六月"));
    TYotei* task = m_tasks->at(7);
    whenModal<TForm11>([](TForm11* dialog) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("予定（変更）"));
        dialog->findChild<QComboBox*>(QStringLiteral("monthCombo"))->setCurrentIndex(1);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
    });
    click("taskChangeButton");
    QVERIFY(m_platform->messages.isEmpty());
    QCOMPARE(task->tuki, QStringLiteral("2"));
    QCOMPARE(m_tab->list()->checkedRecord<TYotei>(), task);
    QCOMPARE(m_tab->list()->CheckedIndex(), rowOf("六月"));
}

// The current plan: a bed with a placeholder row and two crops.
void ScheduleTabTest::plantBed() {
    TGroup* bed = m_plan->add();
    bed->name = QStringLiteral("畑A");
    TSakumotu2* dummy = bed->add();
    dummy->name = kDummyCropName;
    dummy->ichi = 1;
    const QStringList crops{"トマト", "ナス"};
    for (int i = 0; i < crops.size(); ++i) {
        TSakumotu2* entry = bed->add();
        entry->name = crops[i];
        entry->StTuki = QStringLiteral("5");
        entry->StShuu = QString::number(3 - i);
        entry->EdTuki = QStringLiteral("8");
        entry->EdShuu = QStringLiteral("5");
        entry->ichi = i + 2;
    }
}

void ScheduleTabTest::quotePicksAnEntryWithoutDummiesAndAdds() {
    plantBed();
    seed(mixedSchedule());
    QStringList offered;
    QString caption;
    whenModal<TForm6>([&](TForm6* picker) {
        for (int i = 0; i < picker->list()->rowCount(); ++i)
            offered << picker->list()->row(i)->text(2);
        picker->list()->CheckOnly(1);
        whenModal<TForm13>([&caption](TForm13* dialog) {
            caption = dialog->windowTitle();
            for (const char* row : {"quoteCheck2", "quoteCheck5"})
                dialog->findChild<QCheckBox*>(QString::fromLatin1(row))->setChecked(true);
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
        });
        QTest::mouseClick(picker->findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
    });
    click("taskQuoteButton");
    QCOMPARE(offered, (QStringList{"2行目 トマト（5月3週～8月5週）", "3行目 ナス（5月2週～8月5週）"}));
    QCOMPARE(caption, QStringLiteral("簡単予定追加（ナス）"));
    QCOMPARE(m_platform->messages, QStringList{kAdded});
    const auto saved = reread(m_platform->dataFolder());
    QCOMPARE(saved->count(), 13);
    QStringList added;
    for (int i = 0; i < m_tasks->count(); ++i)
        if (m_tasks->at(i)->state == kYoteiAdded && m_tasks->at(i)->note == QStringList{"ナス"})
            added << m_tasks->at(i)->WeekText() + m_tasks->at(i)->name;
    QCOMPARE(added, (QStringList{"4月5週種を購入", "5月2週種まき"}));
}

void ScheduleTabTest::cancelledPickerStopsTheQuote() {
    plantBed();
    seed(mixedSchedule());
    bool quoteOpened = false;
    QPointer<QTimer> quoteWatcher;
    whenModal<TForm6>([&](TForm6* picker) {
        quoteWatcher = whenModal<TForm13>([&quoteOpened](TForm13*) { quoteOpened = true; });
        picker->reject();
    });
    click("taskQuoteButton");
    delete quoteWatcher.data();
    QVERIFY(!quoteOpened);
    QVERIFY(m_platform->allShown().isEmpty());
    QCOMPARE(m_tasks->count(), 11);
}

void ScheduleTabTest::cancelledQuoteShowsNothing() {
    plantBed();
    seed(mixedSchedule());
    whenModal<TForm6>([](TForm6* picker) {
        picker->list()->CheckOnly(0);
        whenModal<TForm13>([](TForm13* dialog) { dialog->reject(); });
        QTest::mouseClick(picker->findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
    });
    click("taskQuoteButton");
    QVERIFY(m_platform->messages.isEmpty());
    QCOMPARE(m_tasks->count(), 11);
}

void ScheduleTabTest::mergeReportsAndMerges() {
    seed({{"種を購入", "4", "1", "", {"トマト"}}, {"種を購入", "4", "1", "", {"ナス"}}});
    QString report;
    whenModal<TForm14>([&report](TForm14* dialog) {
        report = dialog->reportText();
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
    });
    click("taskMergeButton");
    QCOMPARE(report, QStringLiteral("[まとめられる]4/1/種を購入"));
    QCOMPARE(m_platform->messages, QStringList{kMerged});
    const auto saved = reread(m_platform->dataFolder());
    QCOMPARE(saved->count(), 1);
    QCOMPARE(saved->at(0)->note, (QStringList{"ナス", "-----", "トマト", ""}));
}

void ScheduleTabTest::cancelledMergeShowsNothing() {
    seed({{"t", "4", "1", "", {"a"}}, {"t", "4", "1", "", {"a"}}});
    whenModal<TForm14>([](TForm14* dialog) { dialog->reject(); });
    click("taskMergeButton");
    QVERIFY(m_platform->messages.isEmpty());
    QCOMPARE(m_tasks->count(), 2);
}

void ScheduleTabTest::showHandsTheCheckedTaskToTheCard() {
    seed(mixedSchedule());
    TYotei* shown = nullptr;
    m_tab->showTaskCard = [&shown](TYotei& task) { shown = &task; };
    m_tab->list()->CheckOnly(1);
    click("taskShowButton");
    QCOMPARE(shown, m_tasks->at(1));
    QVERIFY(m_platform->messages.isEmpty());
}

// Ten thousand tasks refill in a moment; this guards against anything per row
// that grows with the list.
void ScheduleTabTest::refreshOfManyTasksStaysQuick() {
    QList<Seed> seeds;
    for (int i = 0; i < 10000; ++i)
        seeds.append({QStringLiteral("予定%1").arg(i),
                      QString::number(i % 12 + 1),
                      QString::number(i % 5 + 1),
                      i % 3 == 0 ? QStringLiteral("完了") : QString(),
                      {QStringLiteral("メモ"), QStringLiteral("二行目")}});
    fill(*m_tasks, seeds);
    choose(4);
    QCOMPARE(m_tab->list()->rowCount(), 10000);
    m_tab->list()->CheckOnly(9999);
    click("taskDoneButton");
    QCOMPARE(m_tab->list()->CheckedIndex(), 9999);
}

QTEST_MAIN(ScheduleTabTest)
#include "schedule_tab_test.moc"
