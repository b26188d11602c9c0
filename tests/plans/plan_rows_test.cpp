#include "crops/crop_records.h"
#include "plans/plan_records.h"

#include <QTest>

namespace {

TSakumotu2* addEntry(TGroup& group, const QString& name, int ichi) {
    TSakumotu2* entry = group.add();
    entry->name = name;
    entry->ichi = ichi;
    return entry;
}

void fillRows(TGroup& group, const QList<int>& rows) {
    for (int row : rows)
        addEntry(group, QStringLiteral("e%1").arg(group.count()), row);
}

QList<int> rowsOf(const TGroup& group) {
    QList<int> rows;
    for (int i = 0; i < group.count(); ++i)
        rows << group.at(i)->ichi;
    return rows;
}

} // namespace

class PlanRowsTest : public QObject {
    Q_OBJECT

private slots:
    void shiftRowsOpensRowInFront() {
        TGroup group;
        fillRows(group, {1, 2, 2, 3});
        group.ShiftRows(2);
        QCOMPARE(rowsOf(group), (QList<int>{1, 3, 3, 4}));
    }

    void renumberRows_data() {
        QTest::addColumn<QList<int>>("before");
        QTest::addColumn<QList<int>>("after");
        QTest::newRow("gap") << QList<int>{1, 3, 3, 4} << QList<int>{1, 2, 2, 3};
        QTest::newRow("shared first rows") << QList<int>{2, 2, 5} << QList<int>{1, 1, 2};
        QTest::newRow("already tight") << QList<int>{1, 2, 3} << QList<int>{1, 2, 3};
        QTest::newRow("one entry") << QList<int>{7} << QList<int>{1};
        QTest::newRow("empty") << QList<int>{} << QList<int>{};
    }

    void renumberRows() {
        QFETCH(QList<int>, before);
        QFETCH(QList<int>, after);
        TGroup group;
        fillRows(group, before);
        group.RenumberRows();
        QCOMPARE(rowsOf(group), after);
    }

    void buildRowsShowsDummyAsDummy() {
        TGroup group;
        addEntry(group, QStringLiteral("A"), 1);
        addEntry(group, QStringLiteral("B"), 2);
        addEntry(group, kDummyCropName, 2);
        TIchiList rows;
        rows.add()->ichi = 99; // emptied first
        group.BuildRows(rows);
        QCOMPARE(rows.count(), 2);
        QCOMPARE(RowCaption(*rows.at(0)), QStringLiteral("1行目（A）"));
        QCOMPARE(RowCaption(*rows.at(1)), QStringLiteral("2行目（B、ダミー）"));
        QCOMPARE(rows.at(1)->names, (QStringList{QStringLiteral("B"), kDummyCropName}));
        QCOMPARE(rows.MaxRow(), 2);
        QCOMPARE(rows.FindRow(2), rows.at(1));
        QCOMPARE(rows.FindRow(3), nullptr);
    }

    void buildRowsKeepsOrderOfFirstOccurrence() {
        TGroup group;
        addEntry(group, QStringLiteral("A"), 3);
        addEntry(group, QStringLiteral("B"), 1);
        addEntry(group, QStringLiteral("C"), 3);
        TIchiList rows;
        group.BuildRows(rows);
        QCOMPARE(rows.count(), 2);
        QCOMPARE(rows.at(0)->ichi, 3);
        QCOMPARE(rows.at(0)->names, (QStringList{"A", "C"}));
        QCOMPARE(rows.at(1)->ichi, 1);
    }

    void rowCaptionWithoutNames() {
        TIchi row;
        row.ichi = 4;
        QCOMPARE(RowCaption(row), QStringLiteral("4行目"));
    }

    void emptyRowListHasMaxRowZero() {
        TIchiList rows;
        QCOMPARE(rows.MaxRow(), 0);
        QCOMPARE(rows.FindRow(1), nullptr);
    }

    void dummyOnlyGroupHasNoCropsButOneRow() {
        TGroupList plan;
        addEntry(*plan.add(), kDummyCropName, 1);
        QCOMPARE(plan.CropCount(), 0);
        QCOMPARE(plan.at(0)->CropCount(), 0);
        QCOMPARE(plan.at(0)->RowCount(), 1);
    }

    void countsCropsAndRows() {
        TGroupList plan;
        TGroup* a = plan.add();
        addEntry(*a, QStringLiteral("x"), 1);
        addEntry(*a, QStringLiteral("y"), 1);
        addEntry(*a, kDummyCropName, 4);
        TGroup* b = plan.add();
        addEntry(*b, QStringLiteral("z"), 2);
        plan.add();
        QCOMPARE(a->CropCount(), 2);
        QCOMPARE(a->RowCount(), 2);
        QCOMPARE(plan.CropCount(), 3);
        QCOMPARE(plan.at(2)->RowCount(), 0);
    }

    void sortsEntriesAndGroups() {
        TGroupList plan;
        TGroup* late = plan.add();
        late->order = 5;
        TGroup* early = plan.add();
        early->order = -3;
        fillRows(*late, {3, 1, 2});
        plan.SortGroups();
        QCOMPARE(plan.at(0), early);
        late->SortEntries();
        QCOMPARE(rowsOf(*late), (QList<int>{1, 2, 3}));
    }

    void maxOrder() {
        TGroupList plan;
        QCOMPARE(plan.MaxOrder(), 0);
        plan.add()->order = -4;
        QCOMPARE(plan.MaxOrder(), -4);
        plan.add()->order = 7;
        plan.add()->order = 2;
        QCOMPARE(plan.MaxOrder(), 7);
    }

    void findsGroupsByExactName() {
        TGroupList plan;
        TGroup* a = plan.add();
        a->name = QStringLiteral("畝A");
        TGroup* b = plan.add();
        b->name = QStringLiteral("畝B");
        QCOMPARE(plan.FindGroup(QStringLiteral("畝A")), a);
        QCOMPARE(plan.FindGroup(QStringLiteral("畝Ａ")), nullptr);
        QCOMPARE(plan.FindGroup(QStringLiteral("畝A ")), nullptr);
        QCOMPARE(plan.FindOtherGroup(QStringLiteral("畝A"), a), nullptr);
        QCOMPARE(plan.FindOtherGroup(QStringLiteral("畝A"), b), a);
    }

    void groupOfFindsTheVeryEntry() {
        TGroupList plan;
        TGroup* a = plan.add();
        TGroup* b = plan.add();
        TSakumotu2* inA = addEntry(*a, QStringLiteral("x"), 1);
        TSakumotu2* inB = addEntry(*b, QStringLiteral("x"), 1);
        QCOMPARE(plan.GroupOf(inA), a);
        QCOMPARE(plan.GroupOf(inB), b);
        TSakumotu2 stranger;
        QCOMPARE(plan.GroupOf(&stranger), nullptr);
    }

    void detachedEntryMovesToAnotherGroup() {
        TGroupList plan;
        TGroup* a = plan.add();
        TGroup* b = plan.add();
        addEntry(*a, QStringLiteral("stay"), 1);
        TSakumotu2* moving = addEntry(*a, QStringLiteral("move"), 3);
        QCOMPARE(b->append(a->detach(a->indexOf(moving))), moving);
        QCOMPARE(a->count(), 1);
        QCOMPARE(plan.GroupOf(moving), b);
        QCOMPARE(moving->ichi, 3);
    }

    void renameCropMatchesExactNamesOnly() {
        TGroupList plan;
        TGroup* g = plan.add();
        addEntry(*g, QStringLiteral("ナス"), 1);
        addEntry(*g, QStringLiteral("ナス科ナス"), 2);
        addEntry(*plan.add(), QStringLiteral("ナス"), 1);
        plan.RenameCrop(QStringLiteral("ナス"), QStringLiteral("水ナス"));
        QCOMPARE(g->at(0)->name, QStringLiteral("水ナス"));
        QCOMPARE(g->at(1)->name, QStringLiteral("ナス科ナス"));
        QCOMPARE(plan.at(1)->at(0)->name, QStringLiteral("水ナス"));
    }

    void periodTextAndListName() {
        TSakumotu2 entry;
        entry.name = QStringLiteral("トマト");
        entry.StTuki = QStringLiteral("4");
        entry.StShuu = QStringLiteral("2");
        entry.EdTuki = QStringLiteral("8");
        entry.EdShuu = QStringLiteral("5");
        QCOMPARE(EntryPeriodText(entry), QStringLiteral("4月2週～8月5週"));
        QCOMPARE(EntryListName(entry), QStringLiteral("トマト"));
        entry.name = kDummyCropName;
        QVERIFY(entry.IsDummy());
        QCOMPARE(EntryListName(entry), QStringLiteral("ダミー"));
    }
};

QTEST_MAIN(PlanRowsTest)
#include "plan_rows_test.moc"
