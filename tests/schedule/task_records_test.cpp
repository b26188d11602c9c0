#include "schedule/task_records.h"

#include <QtTest>

namespace {

TYotei* addTask(TYoteiList& list, const QString& name, const QString& tuki, const QString& shuu,
                const QString& state = QString(), const QStringList& note = {}) {
    TYotei* task = list.add();
    task->name = name;
    task->tuki = tuki;
    task->shuu = shuu;
    task->state = state;
    task->note = note;
    return task;
}

QStringList namesOf(const TYoteiRefList& list) {
    QStringList names;
    for (int i = 0; i < list.count(); ++i)
        names << list.at(i)->name;
    return names;
}

QStringList namesOf(const TYoteiList& list) {
    QStringList names;
    for (int i = 0; i < list.count(); ++i)
        names << list.at(i)->name;
    return names;
}

// A schedule to filter on 10 June 2025 (week 2 of June), in list order.
void fillJune(TYoteiList& list) {
    addTask(list, "a-june2-open", "6", "2");
    addTask(list, "b-june2-done", "6", "2", kYoteiDone);
    addTask(list, "c-june1-added", "6", "1", kYoteiAdded);
    addTask(list, "d-may5-open", "5", "5");
    addTask(list, "e-may5-done", "5", "5", kYoteiDone);
    addTask(list, "f-june3-open", "6", "3");
    addTask(list, "g-dec1-open", "12", "1");
    addTask(list, "h-word-month", "x", "1");
}

} // namespace

class TaskRecordsTest : public QObject {
    Q_OBJECT

private slots:
    void newTaskIsEmpty();
    void filter_data();
    void filter();
    void filterThisWeekInSixthWeekListsWeekFive();
    void filterEmptiesOutputFirst();
    void addedTaskIsOpenNeverDone();
    void taskPredicatesFollowState();
    void compareByWeek_data();
    void compareByWeek();
    void sortByWeekIsNumericAndKeepsEqualOrder();
    void clearStatesClearsDoneAndAdded();
    void removeDestroysOnlyFromOwner();
    void textForms();
};

void TaskRecordsTest::newTaskIsEmpty() {
    TYoteiList list;
    const TYotei* task = list.add();
    QVERIFY(task->name.isEmpty());
    QVERIFY(task->state.isEmpty());
    QVERIFY(task->tuki.isEmpty());
    QVERIFY(task->shuu.isEmpty());
    QVERIFY(task->note.isEmpty());
    QCOMPARE(list.count(), 1);
}

void TaskRecordsTest::filter_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("今週") << kFilterThisWeek << QStringList{"a-june2-open", "b-june2-done"};
    QTest::newRow("今月") << kFilterThisMonth
                          << QStringList{"a-june2-open", "b-june2-done", "c-june1-added", "f-june3-open"};
    QTest::newRow("過ぎてる") << kFilterPast << QStringList{"c-june1-added", "d-may5-open"};
    QTest::newRow("完了") << kFilterDone << QStringList{"b-june2-done", "e-may5-done"};
    QTest::newRow("すべて") << kFilterAll
                            << QStringList{"a-june2-open", "b-june2-done", "c-june1-added", "d-may5-open",
                                           "e-may5-done",  "f-june3-open", "g-dec1-open",   "h-word-month"};
    QTest::newRow("empty key") << QString() << QStringList();
    QTest::newRow("unknown key") << QStringLiteral("来週") << QStringList();
    QTest::newRow("button caption is no key") << QStringLiteral("今週の予定") << QStringList();
}

void TaskRecordsTest::filter() {
    QFETCH(QString, key);
    QFETCH(QStringList, expected);

    TYoteiList list;
    fillJune(list);
    TYoteiRefList out;
    list.Filter(key, QDate(2025, 6, 10), out);
    QCOMPARE(namesOf(out), expected);
    QCOMPARE(list.count(), 8);
}

void TaskRecordsTest::filterThisWeekInSixthWeekListsWeekFive() {
    TYoteiList list;
    addTask(list, "march4", "3", "4");
    addTask(list, "march5-open", "3", "5");
    addTask(list, "march5-done", "3", "5", kYoteiDone);
    addTask(list, "april5", "4", "5");
    TYoteiRefList out;
    list.Filter(kFilterThisWeek, QDate(2025, 3, 31), out);
    QCOMPARE(namesOf(out), (QStringList{"march5-open", "march5-done"}));
    list.Filter(kFilterPast, QDate(2025, 3, 31), out);
    QCOMPARE(namesOf(out), (QStringList{"march4", "march5-open"}));
}

void TaskRecordsTest::filterEmptiesOutputFirst() {
    TYoteiList list;
    fillJune(list);
    TYoteiRefList out;
    list.Filter(kFilterAll, QDate(2025, 6, 10), out);
    QCOMPARE(out.count(), 8);
    list.Filter(kFilterDone, QDate(2025, 6, 10), out);
    QCOMPARE(out.count(), 2);
    list.Filter(QStringLiteral("?"), QDate(2025, 6, 10), out);
    QCOMPARE(out.count(), 0);
}

void TaskRecordsTest::addedTaskIsOpenNeverDone() {
    TYoteiList list;
    TYotei* task = addTask(list, "added", "5", "1", kYoteiAdded);
    QVERIFY(!task->isDone());
    QVERIFY(IsPast(*task, QDate(2025, 6, 10)));
    TYoteiRefList out;
    list.Filter(kFilterDone, QDate(2025, 6, 10), out);
    QCOMPARE(out.count(), 0);
}

void TaskRecordsTest::taskPredicatesFollowState() {
    TYoteiList list;
    TYotei* task = addTask(list, "t", "6", "2", kYoteiDone);
    const QDate today(2025, 6, 10);
    QVERIFY(IsThisWeek(*task, today));
    QVERIFY(IsThisMonth(*task, today));
    QVERIFY(!IsPast(*task, today));
    QVERIFY(!IsPast(*task, QDate(2025, 7, 1)));
    task->state.clear();
    QVERIFY(IsPast(*task, QDate(2025, 7, 1)));
}

void TaskRecordsTest::compareByWeek_data() {
    QTest::addColumn<QString>("tukiA");
    QTest::addColumn<QString>("shuuA");
    QTest::addColumn<QString>("tukiB");
    QTest::addColumn<QString>("shuuB");
    QTest::addColumn<int>("order");

    QTest::newRow("10 after 9") << "10"
                                << "1"
                                << "9"
                                << "5" << 1;
    QTest::newRow("9 before 10") << "9"
                                 << "5"
                                 << "10"
                                 << "1" << -1;
    QTest::newRow("same month, week decides") << "4"
                                              << "3"
                                              << "4"
                                              << "2" << 1;
    QTest::newRow("equal") << "4"
                           << "2"
                           << "4"
                           << "2" << 0;
    QTest::newRow("word month reads 0") << "x"
                                        << "5"
                                        << "1"
                                        << "1" << -1;
    QTest::newRow("empty equals zero") << ""
                                       << ""
                                       << "0"
                                       << "0" << 0;
    QTest::newRow("word week reads 0") << "4"
                                       << "x"
                                       << "4"
                                       << "1" << -1;
}

void TaskRecordsTest::compareByWeek() {
    QFETCH(QString, tukiA);
    QFETCH(QString, shuuA);
    QFETCH(QString, tukiB);
    QFETCH(QString, shuuB);
    QFETCH(int, order);

    TYotei a;
    a.tuki = tukiA;
    a.shuu = shuuA;
    TYotei b;
    b.tuki = tukiB;
    b.shuu = shuuB;
    QCOMPARE(CompareByWeek(a, b), order);
    QCOMPARE(CompareByWeek(b, a), -order);
}

void TaskRecordsTest::sortByWeekIsNumericAndKeepsEqualOrder() {
    TYoteiList list;
    addTask(list, "oct1", "10", "1");
    addTask(list, "sep5", "9", "5");
    addTask(list, "apr2-first", "4", "2");
    addTask(list, "word", "x", "3");
    addTask(list, "apr1", "4", "1");
    addTask(list, "apr2-second", "4", "2");
    addTask(list, "dec5", "12", "5");
    list.SortByWeek();
    QCOMPARE(namesOf(list),
             (QStringList{"word", "apr1", "apr2-first", "apr2-second", "sep5", "oct1", "dec5"}));
}

void TaskRecordsTest::clearStatesClearsDoneAndAdded() {
    TYoteiList list;
    addTask(list, "done", "4", "1", kYoteiDone, {"n1"});
    addTask(list, "added", "5", "2", kYoteiAdded);
    addTask(list, "open", "6", "3");
    list.ClearStates();
    for (int i = 0; i < list.count(); ++i)
        QVERIFY(list.at(i)->state.isEmpty());
    QCOMPARE(namesOf(list), (QStringList{"done", "added", "open"}));
    QCOMPARE(list.at(0)->tuki, QStringLiteral("4"));
    QCOMPARE(list.at(0)->note, QStringList{"n1"});
}

void TaskRecordsTest::removeDestroysOnlyFromOwner() {
    TYoteiList list;
    TYotei* first = addTask(list, "first", "4", "1");
    TYotei* second = addTask(list, "second", "4", "2");
    TYoteiRefList view(list.items());
    view.remove(0);
    view.clear();
    QCOMPARE(list.count(), 2);
    QCOMPARE(first->name, QStringLiteral("first"));

    QVERIFY(list.remove(first));
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.at(0), second);
    QVERIFY(!list.remove(first));
    QCOMPARE(list.indexOf(second), 0);
    list.remove(0);
    QCOMPARE(list.count(), 0);
}

void TaskRecordsTest::textForms() {
    TYotei task;
    task.tuki = QStringLiteral("4");
    task.shuu = QStringLiteral("2");
    QCOMPARE(task.WeekText(), QStringLiteral("4月2週"));
    QCOMPARE(task.NoteText(), QString());
    QCOMPARE(task.NoteOneLine(), QString());
    task.note = QStringList{QStringLiteral("トマト")};
    QCOMPARE(task.NoteText(), QStringLiteral("トマト\r\n"));
    QCOMPARE(task.NoteOneLine(), QStringLiteral("トマト"));
    task.note = QStringList{QStringLiteral("トマト"), QString(), QStringLiteral("ナス")};
    QCOMPARE(task.NoteText(), QStringLiteral("トマト\r\n\r\nナス\r\n"));
    QCOMPARE(task.NoteOneLine(), QStringLiteral("トマト / ナス"));
    // A merged note: its empty and blank lines leave no dangling separators.
    task.note = QStringList{"トマト", "", "-----", "　", "ナス", ""};
    QCOMPARE(task.NoteOneLine(), QStringLiteral("トマト / ----- / ナス"));
    task.note = QStringList{"", ""};
    QCOMPARE(task.NoteOneLine(), QString());
}

QTEST_GUILESS_MAIN(TaskRecordsTest)
#include "task_records_test.moc"
