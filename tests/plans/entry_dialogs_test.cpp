#include "crops/crop_dialog.h"
#include "plan_gui.h"
#include "plan_test_files.h"
#include "plans/crop_pick_dialog.h"
#include "plans/entry_dialog.h"
#include "plans/entry_pick_dialog.h"
#include "plans/group_dialog.h"
#include "support/scripted_platform.h"

#include <QCheckBox>
#include <QListWidget>
#include <QTemporaryDir>

using namespace plangui;

namespace {

const QString kFile = QStringLiteral("sakutuke3.xml");

TGroup* addGroup(TGroupList& plan, const QString& name, int order) {
    TGroup* group = plan.add();
    group->name = name;
    group->order = order;
    return group;
}

QComboBox* combo(QDialog* dialog, const char* name) {
    return child<QComboBox>(dialog, name);
}

void choosePeriod(QDialog* dialog, const QString& st, const QString& stWeek, const QString& ed,
                  const QString& edWeek) {
    choose(combo(dialog, "stTukiCombo"), st);
    choose(combo(dialog, "stShuuCombo"), stWeek);
    choose(combo(dialog, "edTukiCombo"), ed);
    choose(combo(dialog, "edShuuCombo"), edWeek);
}

QStringList itemsOf(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

} // namespace

class EntryDialogsTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    TGroupList m_plan;
    TSakumotu m_nasu;
    TSakumotu m_dummy;

    QString folder() const { return m_dir.path() + QLatin1Char('/'); }

    std::unique_ptr<TForm9> adding(const TSakumotu* crop) {
        TForm9::Inputs in{&m_plan, QStringLiteral("計画３"), kFile, crop, nullptr, nullptr};
        auto dialog = std::make_unique<TForm9>(*m_platform, in);
        dialog->show();
        return dialog;
    }
    std::unique_ptr<TForm9> changing(TSakumotu2* entry, const TSakumotu* crop) {
        TForm9::Inputs in{&m_plan, QStringLiteral("計画３"), kFile, crop, entry, m_plan.GroupOf(entry)};
        auto dialog = std::make_unique<TForm9>(*m_platform, in);
        dialog->show();
        return dialog;
    }
    // Group 畝A with A, B, C in rows 1, 2, 3.
    TGroup* threeRows() {
        TGroup* group = addGroup(m_plan, QStringLiteral("畝A"), 1);
        addEntry(group, QStringLiteral("A"), 1);
        addEntry(group, QStringLiteral("B"), 2);
        addEntry(group, QStringLiteral("C"), 3);
        return group;
    }

private slots:
    void initTestCase() {
        m_nasu.name = QStringLiteral("ナス");
        TJiki* period = m_nasu.jiki.add();
        period->st = QStringLiteral("4月2週");
        period->ed = QStringLiteral("8月5週");
        m_dummy.name = kDummyCropName;
    }

    void init() {
        QFile::remove(folder() + kFile);
        m_platform = std::make_unique<ScriptedPlatform>(folder());
        m_plan.clear();
    }

    void offersTheListsEmptyInAddMode() {
        addGroup(m_plan, QStringLiteral("畝A"), 1);
        auto dialog = adding(&m_nasu);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("作付計画へ追加（ナス）"));
        QCOMPARE(itemsOf(combo(dialog.get(), "groupCombo")), QStringList{"畝A"});
        QCOMPARE(combo(dialog.get(), "groupCombo")->currentIndex(), -1);
        QCOMPARE(combo(dialog.get(), "stTukiCombo")->count(), 12);
        QCOMPARE(combo(dialog.get(), "stShuuCombo")->count(), 5);
        QCOMPARE(combo(dialog.get(), "edTukiCombo")->currentIndex(), -1);
        QCOMPARE(combo(dialog.get(), "rowCombo")->count(), 0);
        QCOMPARE(child<QLineEdit>(dialog.get(), "downEdit")->text(), QStringLiteral("0"));
        auto* reference = child<QListWidget>(dialog.get(), "referenceList");
        QCOMPARE(reference->count(), 1);
        QCOMPARE(reference->item(0)->text(), QStringLiteral("4月2週～8月5週"));
        QCOMPARE(reference->selectionMode(), QAbstractItemView::NoSelection);
    }

    void addsTheDummyWithItsListsDisabled() {
        TGroup* group = addGroup(m_plan, QStringLiteral("畝A"), 1);
        addEntry(group, QStringLiteral("A"), 1);
        auto dialog = adding(&m_dummy);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("作付計画へ追加（ダミー）"));
        for (const char* name : {"stTukiCombo", "stShuuCombo", "edTukiCombo", "edShuuCombo"})
            QVERIFY(!combo(dialog.get(), name)->isEnabled());
        QVERIFY(!child<QWidget>(dialog.get(), "referenceList")->isEnabled());
        QVERIFY(!child<QWidget>(dialog.get(), "downEdit")->isEnabled());
        choose(combo(dialog.get(), "groupCombo"), QStringLiteral("畝A"));
        choose(combo(dialog.get(), "rowCombo"), QStringLiteral("最終行へ追加"));
        click(dialog.get(), "okButton");
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QVERIFY(m_platform->messages.isEmpty());
        TSakumotu2* entry = dialog->entry();
        QCOMPARE(entry->name, kDummyCropName);
        QCOMPARE(entry->ichi, 2);
        QCOMPARE(entry->down, 0);
        QVERIFY(entry->StTuki.isEmpty() && entry->StShuu.isEmpty() && entry->EdTuki.isEmpty() &&
                entry->EdShuu.isEmpty());
    }

    void aGroupWithoutEntriesOffersOnlyTheNewRowChosen() {
        TGroup* group = addGroup(m_plan, QStringLiteral("畝A"), 1);
        auto dialog = adding(&m_nasu);
        choose(combo(dialog.get(), "groupCombo"), QStringLiteral("畝A"));
        QCOMPARE(itemsOf(combo(dialog.get(), "rowCombo")), QStringList{"最終行へ追加"});
        QCOMPARE(combo(dialog.get(), "rowCombo")->currentIndex(), 0);
        choosePeriod(dialog.get(), "4", "2", "8", "5");
        click(dialog.get(), "okButton");
        QCOMPARE(rowsOf(group), QStringList{"ナス:1"});
        QCOMPARE(EntryPeriodText(*group->at(0)), QStringLiteral("4月2週～8月5週"));
    }

    void rowCaptionsNameTheEntriesOfEachRow() {
        TGroup* group = threeRows();
        addEntry(group, kDummyCropName, 2);
        auto dialog = adding(&m_nasu);
        choose(combo(dialog.get(), "groupCombo"), QStringLiteral("畝A"));
        QCOMPARE(itemsOf(combo(dialog.get(), "rowCombo")),
                 QStringList({"1行目（A）", "2行目（B、ダミー）", "3行目（C）", "最終行へ追加"}));
        QCOMPARE(combo(dialog.get(), "rowCombo")->currentIndex(), -1);
    }

    void insertsBeforeRowTwo() {
        TGroup* group = threeRows();
        auto dialog = adding(&m_nasu);
        choose(combo(dialog.get(), "groupCombo"), QStringLiteral("畝A"));
        choosePeriod(dialog.get(), "5", "1", "9", "2");
        combo(dialog.get(), "rowCombo")->setCurrentIndex(1);
        child<QCheckBox>(dialog.get(), "insertCheck")->setChecked(true);
        click(dialog.get(), "okButton");
        QCOMPARE(rowsOf(group), QStringList({"A:1", "B:3", "C:4", "ナス:2"}));
    }

    void sharesRowTwoWithoutInsertion() {
        TGroup* group = threeRows();
        auto dialog = adding(&m_nasu);
        choose(combo(dialog.get(), "groupCombo"), QStringLiteral("畝A"));
        choosePeriod(dialog.get(), "5", "1", "9", "2");
        combo(dialog.get(), "rowCombo")->setCurrentIndex(1);
        click(dialog.get(), "okButton");
        QCOMPARE(rowsOf(group), QStringList({"A:1", "B:2", "C:3", "ナス:2"}));
    }

    void movesAnEntryToAnotherGroup() {
        TGroup* from = threeRows();
        TGroup* to = addGroup(m_plan, QStringLiteral("畝B"), 2);
        addEntry(to, QStringLiteral("D"), 1);
        TSakumotu2* b = from->at(1);
        auto dialog = changing(b, nullptr);
        choose(combo(dialog.get(), "groupCombo"), QStringLiteral("畝B"));
        choose(combo(dialog.get(), "rowCombo"), QStringLiteral("最終行へ追加"));
        click(dialog.get(), "okButton");
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(rowsOf(to), QStringList({"B:2", "D:1"}));
        QCOMPARE(rowsOf(from), QStringList({"A:1", "C:3"}));
        QCOMPARE(m_plan.GroupOf(b), to);
    }

    void theNewRowInItsOwnGroupGoesAfterTheLast() {
        TGroup* group = addGroup(m_plan, QStringLiteral("畝A"), 1);
        TSakumotu2* a = addEntry(group, QStringLiteral("A"), 1);
        addEntry(group, QStringLiteral("B"), 2);
        auto dialog = changing(a, nullptr);
        choose(combo(dialog.get(), "rowCombo"), QStringLiteral("最終行へ追加"));
        click(dialog.get(), "okButton");
        QCOMPARE(rowsOf(group), QStringList({"A:3", "B:2"}));
    }

    void changeModeShowsTheEntry() {
        TGroup* group = threeRows();
        TSakumotu2* nasu = addEntry(group, QStringLiteral("ナス"), 2, "11,1,2,2");
        nasu->down = -5;
        auto dialog = changing(nasu, &m_nasu);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("作付計画の変更（ナス）"));
        QCOMPARE(combo(dialog.get(), "groupCombo")->currentText(), QStringLiteral("畝A"));
        QCOMPARE(combo(dialog.get(), "stTukiCombo")->currentText(), QStringLiteral("11"));
        QCOMPARE(combo(dialog.get(), "edShuuCombo")->currentText(), QStringLiteral("2"));
        QCOMPARE(combo(dialog.get(), "rowCombo")->currentText(), QStringLiteral("2行目（B、ナス）"));
        QCOMPARE(child<QLineEdit>(dialog.get(), "downEdit")->text(), QStringLiteral("-5"));
        click(dialog.get(), "okButton");
        QCOMPARE(rowsOf(group), QStringList({"A:1", "B:2", "C:3", "ナス:2"}));
        QCOMPARE(nasu->down, -5);
    }

    void anEntryWhoseCropWasDeletedStaysChangeable() {
        TGroup* group = addGroup(m_plan, QStringLiteral("畝A"), 1);
        TSakumotu2* goya = addEntry(group, QStringLiteral("ゴーヤ"), 1);
        auto dialog = changing(goya, nullptr);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("作付計画の変更（ゴーヤ）"));
        QCOMPARE(child<QListWidget>(dialog.get(), "referenceList")->count(), 0);
        QVERIFY(combo(dialog.get(), "stTukiCombo")->isEnabled());
        choosePeriod(dialog.get(), "6", "1", "9", "4");
        typeInto(dialog.get(), "downEdit", QStringLiteral("3"));
        click(dialog.get(), "okButton");
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(EntryPeriodText(*goya), QStringLiteral("6月1週～9月4週"));
        QCOMPARE(goya->down, 3);
    }

    void readsTheOffsetAsAWholeNumber_data() {
        QTest::addColumn<QString>("offset");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("negative") << "-4" << true;
        QTest::newRow("decimal") << "4.5" << false;
        QTest::newRow("empty") << "" << false;
    }
    void readsTheOffsetAsAWholeNumber() {
        QFETCH(QString, offset);
        QFETCH(bool, accepted);
        addGroup(m_plan, QStringLiteral("畝A"), 1);
        auto dialog = adding(&m_nasu);
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        choose(combo(dialog.get(), "groupCombo"), QStringLiteral("畝A"));
        choosePeriod(dialog.get(), "4", "2", "8", "5");
        typeInto(dialog.get(), "downEdit", offset);
        click(dialog.get(), "okButton");
        QCOMPARE(dialog->result() == QDialog::Accepted, accepted);
        if (accepted) {
            QCOMPARE(dialog->entry()->down, -4);
        } else {
            QCOMPARE(m_platform->messages, QStringList{"整数のみ入力してください。"});
            QVERIFY(child<QLineEdit>(dialog.get(), "downEdit")->hasFocus());
            QCOMPARE(m_plan.CropCount(), 0);
        }
    }

    void checksRunInOrder() {
        threeRows();
        auto dialog = adding(&m_nasu);
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
        typeInto(dialog.get(), "downEdit", QStringLiteral("x"));
        click(dialog.get(), "okButton");
        QVERIFY(combo(dialog.get(), "groupCombo")->hasFocus());
        choose(combo(dialog.get(), "groupCombo"), QStringLiteral("畝A"));
        choose(combo(dialog.get(), "stTukiCombo"), QStringLiteral("4"));
        click(dialog.get(), "okButton");
        QVERIFY(combo(dialog.get(), "stTukiCombo")->hasFocus());
        choosePeriod(dialog.get(), "4", "2", "8", "5");
        click(dialog.get(), "okButton");
        QVERIFY(combo(dialog.get(), "rowCombo")->hasFocus());
        combo(dialog.get(), "rowCombo")->setCurrentIndex(0);
        click(dialog.get(), "okButton");
        QCOMPARE(m_platform->messages,
                 QStringList({"グループを選択してください。", "栽培期間を選択してください。",
                              "位置を選択してください。", "整数のみ入力してください。"}));
        QVERIFY(dialog->isVisible());
    }

    void aGroupAddedOnTheWaySurvivesTheCancel() {
        threeRows();
        auto dialog = adding(&m_nasu);
        onModal<TForm1>([](TForm1* form) {
            typeInto(form, "groupNameEdit", QStringLiteral("畝N"));
            click(form, "okButton");
        });
        click(dialog.get(), "groupAddButton");
        QCOMPARE(itemsOf(combo(dialog.get(), "groupCombo")), QStringList({"畝A", "畝N"}));
        QCOMPARE(combo(dialog.get(), "groupCombo")->currentText(), QStringLiteral("畝N"));
        QCOMPARE(itemsOf(combo(dialog.get(), "rowCombo")), QStringList{"最終行へ追加"});
        click(dialog.get(), "cancelButton");
        QCOMPARE(m_plan.count(), 2);
        TGroupList saved;
        saved.LoadFromFile(folder(), kFile, *m_platform);
        QCOMPARE(saved.name, QStringLiteral("計画３"));
        QVERIFY(saved.FindGroup(QStringLiteral("畝N")));
        QCOMPARE(saved.FindGroup(QStringLiteral("畝N"))->count(), 0);
        QCOMPARE(saved.FindGroup(QStringLiteral("畝N"))->order, 2);
        QCOMPARE(m_plan.CropCount(), 3);
    }

    void theCropPickerListsTheDummyFirstAndNeedsAChoice() {
        TSakumotuList catalogue;
        catalogue.add()->name = kDummyCropName;
        catalogue.add()->name = QStringLiteral("ナス");
        TForm10 picker(*m_platform, catalogue);
        picker.show();
        QVERIFY(QTest::qWaitForWindowActive(&picker));
        QCOMPARE(picker.windowTitle(), QStringLiteral("作物選択"));
        QCOMPARE(picker.list()->count(), 2);
        QCOMPARE(picker.list()->item(0)->text(), QStringLiteral("（ダミー）"));
        QVERIFY(picker.list()->selectedItems().isEmpty());
        click(&picker, "okButton");
        QCOMPARE(m_platform->messages, QStringList{"作物を選択してください。"});
        QVERIFY(picker.list()->hasFocus());
        QVERIFY(picker.isVisible());
        QTest::mouseClick(picker.list()->viewport(), Qt::LeftButton, {},
                          picker.list()->visualItemRect(picker.list()->item(1)).center());
        click(&picker, "okButton");
        QCOMPARE(picker.result(), int(QDialog::Accepted));
        QCOMPARE(picker.crop(), catalogue.at(1));
        QVERIFY(!picker.catalogueChanged());
    }

    void theCropPickerAddsACropThroughTheCropDialog() {
        TSakumotuList catalogue;
        catalogue.add()->name = kDummyCropName;
        catalogue.add()->name = QStringLiteral("ナス");
        TForm10 picker(*m_platform, catalogue);
        picker.show();
        onModal<TForm2>([](TForm2* form) {
            typeInto(form, "nameEdit", QStringLiteral("ゴーヤ"));
            for (const char* spacing : {"joukanEdit", "kabukan1Edit", "kabukan2Edit"})
                typeInto(form, spacing, QStringLiteral("60"));
            click(form, "okButton");
        });
        click(&picker, "addCropButton");
        QVERIFY(picker.catalogueChanged());
        QCOMPARE(picker.list()->count(), 3);
        QCOMPARE(picker.list()->item(2)->text(), QStringLiteral("ゴーヤ"));
        QCOMPARE(picker.list()->selectedItems(), QList<QListWidgetItem*>{picker.list()->item(2)});
        TSakumotuList saved;
        QVERIFY(saved.LoadFromFile(folder(), *m_platform));
        QVERIFY(saved.FindByName(QStringLiteral("ゴーヤ")));
        click(&picker, "okButton");
        QCOMPARE(picker.crop()->name, QStringLiteral("ゴーヤ"));
    }

    void theEntryPickerShowsRowsAndPeriods() {
        TGroup* group = addGroup(m_plan, QStringLiteral("トマト畝"), 1);
        addEntry(group, QStringLiteral("ナス"), 1, "4,2,8,5");
        addEntry(group, kDummyCropName, 2);
        TForm6 withDummies(*m_platform, m_plan, true);
        withDummies.show();
        TListView3* list = withDummies.list();
        QCOMPARE(list->rowCount(), 2);
        QCOMPARE(list->row(0)->text(1), QStringLiteral("トマト畝"));
        QCOMPARE(list->row(0)->text(2), QStringLiteral("1行目 ナス（4月2週～8月5週）"));
        QCOMPARE(list->row(1)->text(2), QStringLiteral("2行目 ダミー"));
        clickRow(list, 1);
        click(&withDummies, "okButton");
        QCOMPARE(withDummies.result(), int(QDialog::Accepted));
        QCOMPARE(withDummies.entry(), group->at(1));
        QCOMPARE(withDummies.group(), group);
        TForm6 withoutDummies(*m_platform, m_plan, false);
        withoutDummies.show();
        QCOMPARE(withoutDummies.list()->rowCount(), 1);
    }

    void theEntryPickerNeedsACheckedRow() {
        addEntry(addGroup(m_plan, QStringLiteral("畝A"), 1), kDummyCropName, 1);
        TForm6 picker(*m_platform, m_plan, false);
        picker.show();
        QCOMPARE(picker.list()->rowCount(), 0);
        click(&picker, "okButton");
        QCOMPARE(m_platform->messages, QStringList{"作物を選択してください。"});
        QVERIFY(picker.isVisible());
    }
};

QTEST_MAIN(EntryDialogsTest)
#include "entry_dialogs_test.moc"
