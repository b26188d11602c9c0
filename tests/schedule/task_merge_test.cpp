#include "schedule/task_merge.h"
#include "schedule/task_records.h"

#include <QRandomGenerator>
#include <QtTest>

namespace {

TYotei* addTask(TYoteiList& list, const QString& name, const QString& tuki, const QString& shuu,
                const QStringList& note = {}, const QString& state = QString()) {
    TYotei* task = list.add();
    task->name = name;
    task->tuki = tuki;
    task->shuu = shuu;
    task->note = note;
    task->state = state;
    return task;
}

QList<TYotei*> itemsOf(const TYoteiRefList& list) {
    return list.items();
}

// The rules as plainly stated, pair by pair, to hold the fast versions against.
bool sameSlot(const TYotei* a, const TYotei* b) {
    return a->name == b->name && a->tuki == b->tuki && a->shuu == b->shuu;
}

bool sameNote(const TYotei* a, const TYotei* b) {
    return a->NoteText() == b->NoteText();
}

QList<TYotei*> pairwise(const QList<TYotei*>& tasks, bool equalNotes) {
    QList<TYotei*> out;
    for (qsizetype i = 0; i < tasks.size(); ++i)
        for (qsizetype j = i + 1; j < tasks.size(); ++j)
            if (sameSlot(tasks[i], tasks[j]) && sameNote(tasks[i], tasks[j]) == equalNotes)
                out.append(tasks[i]);
    return out;
}

QList<TYotei*> pairwiseWithoutDuplicates(const QList<TYotei*>& tasks) {
    QList<TYotei*> out;
    for (qsizetype i = 0; i < tasks.size(); ++i) {
        bool laterTwin = false;
        for (qsizetype j = i + 1; j < tasks.size() && !laterTwin; ++j)
            laterTwin = sameSlot(tasks[i], tasks[j]) && sameNote(tasks[i], tasks[j]);
        if (!laterTwin)
            out.append(tasks[i]);
    }
    return out;
}

void fillRandom(TYoteiList& list, int count, quint32 seed) {
    QRandomGenerator random(seed);
    const QStringList names{"種を購入", "種まき", "植えつけ"};
    const QStringList notes{"トマト", "ナス", "", "トマト\nナス"};
    for (int i = 0; i < count; ++i) {
        const QString note = notes[random.bounded(int(notes.size()))];
        addTask(list, names[random.bounded(int(names.size()))], QString::number(random.bounded(1, 3)),
                QString::number(random.bounded(1, 3)), note.isEmpty() ? QStringList() : note.split('\n'));
    }
}

} // namespace

class TaskMergeTest : public QObject {
    Q_OBJECT

private slots:
    void threeIdenticalTasks();
    void twoNotesMergeIntoTheLater();
    void threeNotesMergeFromTheEnd();
    void multiLineNotesKeepTheirLines();
    void differentMonthsStayApart_data();
    void differentMonthsStayApart();
    void doneAndOpenDuplicateKeepsTheLater_data();
    void doneAndOpenDuplicateKeepsTheLater();
    void mergeKeepsTheKeptTasksFields();
    void uniqueTasksKeepTheirPlaces();
    void notesCompareAsJoinedText();
    void slotOfOnlyEqualNotesIsNotMerged();
    void workingCopyDestroysNothing();
    void matchesThePairwiseRules_data();
    void matchesThePairwiseRules();
    void reportDuplicateLine();
    void reportMergeableLine();
    void reportRunsNoteLinesTogether();
    void reportThreeIdentical();
    void reportListsDuplicatesBeforeMergeable();
    void reportOfEmptyList();
    void reportChangesNothing();
    void mergeWindowSequence();
};

void TaskMergeTest::threeIdenticalTasks() {
    TYoteiList list;
    TYotei* a = addTask(list, "種まき", "4", "2", {"トマト"});
    TYotei* b = addTask(list, "種まき", "4", "2", {"トマト"});
    TYotei* c = addTask(list, "種まき", "4", "2", {"トマト"});
    TYoteiRefList out;
    list.FindDuplicates(out);
    QCOMPARE(itemsOf(out), (QList<TYotei*>{a, a, b}));
    list.FindMergeable(out);
    QCOMPARE(out.count(), 0);
    list.RemoveDuplicates();
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.at(0), c);
}

void TaskMergeTest::twoNotesMergeIntoTheLater() {
    TYoteiList list;
    TYotei* first = addTask(list, "種まき", "4", "2", {"トマト"});
    TYotei* second = addTask(list, "種まき", "4", "2", {"ナス"});
    TYoteiRefList out;
    list.FindMergeable(out);
    QCOMPARE(itemsOf(out), QList<TYotei*>{first});
    list.FindDuplicates(out);
    QCOMPARE(out.count(), 0);
    list.RemoveDuplicates();
    QCOMPARE(list.count(), 2);
    list.MergeSameWeek();
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.at(0), second);
    QCOMPARE(second->note, (QStringList{"ナス", "-----", "トマト", ""}));
}

void TaskMergeTest::threeNotesMergeFromTheEnd() {
    TYoteiList list;
    addTask(list, "種を購入", "4", "1", {"a"});
    addTask(list, "種を購入", "4", "1", {"b"});
    TYotei* c = addTask(list, "種を購入", "4", "1", {"c"});
    TYoteiRefList out;
    list.FindMergeable(out);
    QCOMPARE(out.count(), 3);
    list.MergeSameWeek();
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.at(0), c);
    QCOMPARE(c->note, (QStringList{"c", "-----", "b", "", "-----", "a", ""}));
}

void TaskMergeTest::multiLineNotesKeepTheirLines() {
    TYoteiList list;
    addTask(list, "追肥－１回目", "6", "3", {"a1", "a2"});
    addTask(list, "追肥－１回目", "6", "3");
    TYotei* c = addTask(list, "追肥－１回目", "6", "3", {"c1", "", "c2"});
    list.MergeSameWeek();
    QCOMPARE(list.count(), 1);
    QCOMPARE(c->note, (QStringList{"c1", "", "c2", "-----", "", "-----", "a1", "a2", ""}));
}

void TaskMergeTest::differentMonthsStayApart_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("tuki");
    QTest::addColumn<QString>("shuu");

    QTest::newRow("other month") << "種まき"
                                 << "5"
                                 << "2";
    QTest::newRow("other week") << "種まき"
                                << "4"
                                << "3";
    QTest::newRow("other name") << "植えつけ"
                                << "4"
                                << "2";
    QTest::newRow("trailing blank") << "種まき "
                                    << "4"
                                    << "2";
    QTest::newRow("full-width digit") << "種まき"
                                      << "４"
                                      << "2";
    QTest::newRow("leading zero") << "種まき"
                                  << "04"
                                  << "2";
}

void TaskMergeTest::differentMonthsStayApart() {
    QFETCH(QString, name);
    QFETCH(QString, tuki);
    QFETCH(QString, shuu);

    for (const QStringList& otherNote : {QStringList{"トマト"}, QStringList{"ナス"}}) {
        TYoteiList list;
        addTask(list, "種まき", "4", "2", {"トマト"});
        addTask(list, name, tuki, shuu, otherNote);
        TYoteiRefList out;
        list.FindDuplicates(out);
        QCOMPARE(out.count(), 0);
        list.FindMergeable(out);
        QCOMPARE(out.count(), 0);
        list.RemoveDuplicates();
        list.MergeSameWeek();
        QCOMPARE(list.count(), 2);
        QCOMPARE(list.at(0)->note, QStringList{"トマト"});
        QCOMPARE(list.at(1)->note, otherNote);
    }
}

void TaskMergeTest::doneAndOpenDuplicateKeepsTheLater_data() {
    QTest::addColumn<QString>("firstState");
    QTest::addColumn<QString>("secondState");

    QTest::newRow("done then open") << kYoteiDone << QString();
    QTest::newRow("open then done") << QString() << kYoteiDone;
    QTest::newRow("added then done") << kYoteiAdded << kYoteiDone;
}

void TaskMergeTest::doneAndOpenDuplicateKeepsTheLater() {
    QFETCH(QString, firstState);
    QFETCH(QString, secondState);

    TYoteiList list;
    addTask(list, "種まき", "4", "2", {"トマト"}, firstState);
    TYotei* later = addTask(list, "種まき", "4", "2", {"トマト"}, secondState);
    TYoteiRefList out;
    list.FindDuplicates(out);
    QCOMPARE(out.count(), 1);
    list.RemoveDuplicates();
    list.MergeSameWeek();
    QCOMPARE(list.count(), 1);
    QCOMPARE(list.at(0), later);
    QCOMPARE(later->state, secondState);
    QCOMPARE(later->note, QStringList{"トマト"});
}

void TaskMergeTest::mergeKeepsTheKeptTasksFields() {
    TYoteiList list;
    addTask(list, "種まき", "4", "2", {"a"}, kYoteiDone);
    TYotei* kept = addTask(list, "種まき", "4", "2", {"b"}, kYoteiAdded);
    list.MergeSameWeek();
    QCOMPARE(list.count(), 1);
    QCOMPARE(kept->name, QStringLiteral("種まき"));
    QCOMPARE(kept->tuki, QStringLiteral("4"));
    QCOMPARE(kept->shuu, QStringLiteral("2"));
    QCOMPARE(kept->state, kYoteiAdded);
}

void TaskMergeTest::uniqueTasksKeepTheirPlaces() {
    TYoteiList list;
    TYotei* u1 = addTask(list, "u1", "1", "1");
    addTask(list, "d", "2", "1", {"x"});
    TYotei* u2 = addTask(list, "u2", "3", "1");
    TYotei* mp = addTask(list, "m", "4", "1", {"p"});
    TYotei* d = addTask(list, "d", "2", "1", {"x"});
    TYotei* u3 = addTask(list, "u3", "1", "5");
    TYotei* m = addTask(list, "m", "4", "1", {"q"});
    list.RemoveDuplicates();
    QCOMPARE(list.items(), (QList<TYotei*>{u1, u2, mp, d, u3, m}));
    list.MergeSameWeek();
    QCOMPARE(list.items(), (QList<TYotei*>{u1, u2, d, u3, m}));
    QCOMPARE(m->note, (QStringList{"q", "-----", "p", ""}));
}

void TaskMergeTest::notesCompareAsJoinedText() {
    TYoteiList list;
    addTask(list, "t", "1", "1", {"a\r\nb"});
    addTask(list, "t", "1", "1", {"a", "b"});
    addTask(list, "t", "1", "1", {"a", "b", ""});
    TYoteiRefList out;
    list.FindDuplicates(out);
    QCOMPARE(out.count(), 1);
    list.FindMergeable(out);
    QCOMPARE(out.count(), 2);
}

void TaskMergeTest::slotOfOnlyEqualNotesIsNotMerged() {
    TYoteiList list;
    addTask(list, "t", "1", "1", {"same"});
    addTask(list, "t", "1", "1", {"same"});
    list.MergeSameWeek();
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.at(1)->note, QStringList{"same"});
}

void TaskMergeTest::workingCopyDestroysNothing() {
    TYoteiList list;
    TYotei* a = addTask(list, "t", "1", "1", {"x"});
    TYotei* b = addTask(list, "t", "1", "1", {"x"});
    TYotei* c = addTask(list, "t", "1", "1", {"y"});
    TYoteiRefList working(list.items());
    working.RemoveDuplicates();
    QCOMPARE(working.items(), (QList<TYotei*>{b, c}));
    TYoteiRefList out;
    working.FindMergeable(out);
    QCOMPARE(out.items(), QList<TYotei*>{b});
    working.FindDuplicates(out);
    QCOMPARE(out.count(), 0);
    working.MergeSameWeek();
    QCOMPARE(working.items(), QList<TYotei*>{c});
    QCOMPARE(list.items(), (QList<TYotei*>{a, b, c}));
    QCOMPARE(a->note, QStringList{"x"});
    QCOMPARE(c->note, (QStringList{"y", "-----", "x", ""}));
}

void TaskMergeTest::matchesThePairwiseRules_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<quint32>("seed");

    QTest::newRow("small") << 12 << 1u;
    QTest::newRow("medium") << 120 << 7u;
    QTest::newRow("large") << 400 << 42u;
}

void TaskMergeTest::matchesThePairwiseRules() {
    QFETCH(int, count);
    QFETCH(quint32, seed);

    TYoteiList list;
    fillRandom(list, count, seed);
    const QList<TYotei*> tasks = list.items();
    QCOMPARE(yotei_merge::duplicates(tasks), pairwise(tasks, true));
    QCOMPARE(yotei_merge::mergeable(tasks), pairwise(tasks, false));
    const QList<TYotei*> expected = pairwiseWithoutDuplicates(tasks);
    list.RemoveDuplicates();
    QCOMPARE(list.items(), expected);
    list.MergeSameWeek();
    TYoteiRefList out;
    list.FindDuplicates(out);
    QCOMPARE(out.count(), 0);
    list.FindMergeable(out);
    QCOMPARE(out.count(), 0);
}

void TaskMergeTest::reportDuplicateLine() {
    TYoteiList list;
    addTask(list, "種を購入", "4", "1", {"トマト"});
    addTask(list, "種を購入", "4", "1", {"トマト"});
    QCOMPARE(MergeReport(list), QStringList{"[重複]4/1/種を購入/トマト"});
}

void TaskMergeTest::reportMergeableLine() {
    TYoteiList list;
    addTask(list, "種を購入", "4", "1", {"トマト"});
    addTask(list, "種を購入", "4", "1", {"ナス"});
    QCOMPARE(MergeReport(list), QStringList{"[まとめられる]4/1/種を購入"});
}

void TaskMergeTest::reportRunsNoteLinesTogether() {
    TYoteiList list;
    addTask(list, "種まき", "5", "3", {"トマト", "ナス"});
    addTask(list, "種まき", "5", "3", {"トマト", "ナス"});
    addTask(list, "植えつけ", "6", "1");
    addTask(list, "植えつけ", "6", "1");
    QCOMPARE(MergeReport(list), (QStringList{"[重複]5/3/種まき/トマトナス", "[重複]6/1/植えつけ/"}));
}

void TaskMergeTest::reportThreeIdentical() {
    TYoteiList list;
    for (int i = 0; i < 3; ++i)
        addTask(list, "種まき", "4", "2", {"トマト"});
    const QString line = QStringLiteral("[重複]4/2/種まき/トマト");
    QCOMPARE(MergeReport(list), (QStringList{line, line, line}));
}

void TaskMergeTest::reportListsDuplicatesBeforeMergeable() {
    TYoteiList list;
    addTask(list, "種まき", "4", "2", {"トマト"});
    addTask(list, "植えつけ", "5", "1", {"a"});
    addTask(list, "種まき", "4", "2", {"トマト"});
    addTask(list, "種まき", "4", "2", {"ナス"});
    addTask(list, "植えつけ", "5", "1", {"b"});
    // Without the working copy's removal the first 種まき would count as mergeable twice.
    QCOMPARE(MergeReport(list), (QStringList{"[重複]4/2/種まき/トマト", "[まとめられる]5/1/植えつけ",
                                             "[まとめられる]4/2/種まき"}));
}

void TaskMergeTest::reportOfEmptyList() {
    TYoteiList list;
    QVERIFY(MergeReport(list).isEmpty());
}

void TaskMergeTest::reportChangesNothing() {
    TYoteiList list;
    addTask(list, "種まき", "4", "2", {"トマト"});
    addTask(list, "種まき", "4", "2", {"トマト"});
    addTask(list, "種まき", "4", "2", {"ナス"});
    const QList<TYotei*> before = list.items();
    MergeReport(list);
    QCOMPARE(list.items(), before);
    QCOMPARE(list.at(0)->note, QStringList{"トマト"});
    QCOMPARE(list.at(1)->note, QStringList{"トマト"});
    QCOMPARE(list.at(2)->note, QStringList{"ナス"});
}

void TaskMergeTest::mergeWindowSequence() {
    // What OK of the merge window does: remove duplicates, merge, sort.
    TYoteiList list;
    addTask(list, "種を購入", "4", "1", {"トマト"});
    addTask(list, "種まき", "3", "5", {"x"});
    addTask(list, "種を購入", "4", "1", {"トマト"});
    addTask(list, "種を購入", "4", "1", {"ナス"});
    list.RemoveDuplicates();
    list.MergeSameWeek();
    list.SortByWeek();
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.at(0)->name, QStringLiteral("種まき"));
    QCOMPARE(list.at(1)->name, QStringLiteral("種を購入"));
    QCOMPARE(list.at(1)->note, (QStringList{"ナス", "-----", "トマト", ""}));
    QVERIFY(MergeReport(list).isEmpty());
}

QTEST_GUILESS_MAIN(TaskMergeTest)
#include "task_merge_test.moc"
