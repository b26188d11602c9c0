#include "plan_gui.h"
#include "plan_test_files.h"
#include "plans/group_dialog.h"
#include "plans/group_list_dialog.h"
#include "support/placement.h"
#include "support/scripted_platform.h"

#include <QTemporaryDir>

using namespace plangui;

namespace {

const QString kFile = QStringLiteral("sakutuke1.xml");

TGroup* addGroup(TGroupList& plan, const QString& name, int order) {
    TGroup* group = plan.add();
    group->name = name;
    group->order = order;
    return group;
}

// Fills the group dialog and presses OK.
std::function<void(TForm1*)> answer(const QString& name, const QString& order) {
    return [name, order](TForm1* dialog) {
        typeInto(dialog, "groupNameEdit", name);
        typeInto(dialog, "groupOrderEdit", order);
        click(dialog, "okButton");
    };
}

} // namespace

class GroupDialogsTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    TGroupList m_plan;

    QString folder() const { return m_dir.path() + QLatin1Char('/'); }
    TGroupList reloaded() {
        TGroupList plan;
        plan.LoadFromFile(folder(), kFile, *m_platform);
        return plan;
    }
    std::unique_ptr<TForm3> openList() {
        auto dialog = std::make_unique<TForm3>(*m_platform, m_plan, QStringLiteral("春の畑"), kFile);
        dialog->show();
        return dialog;
    }

private slots:
    void init() {
        QFile::remove(folder() + kFile);
        m_platform = std::make_unique<ScriptedPlatform>(folder());
        m_plan.clear();
    }

    void refusesAnEmptyName() {
        TForm1 dialog(*m_platform, m_plan, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        click(&dialog, "okButton");
        QCOMPARE(m_platform->messages, QStringList{"グループ名を入力してください。"});
        QVERIFY(dialog.isVisible());
        QVERIFY(child<QLineEdit>(&dialog, "groupNameEdit")->hasFocus());
    }

    void checksTheOrderText_data() {
        QTest::addColumn<QString>("order");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("negative") << "-3" << true;
        QTest::newRow("empty") << "" << true;
        QTest::newRow("plain") << "12" << true;
        QTest::newRow("decimal") << "2.5" << false;
        QTest::newRow("kanji") << "二" << false;
        QTest::newRow("space") << " 2" << false;
    }
    void checksTheOrderText() {
        QFETCH(QString, order);
        QFETCH(bool, accepted);
        TForm1 dialog(*m_platform, m_plan, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        answer(QStringLiteral("畝A"), order)(&dialog);
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        QCOMPARE(m_platform->messages.isEmpty(), accepted);
        if (!accepted) {
            QCOMPARE(m_platform->messages.first(), QStringLiteral("表示順は整数のみ入力してください。"));
            QVERIFY(child<QLineEdit>(&dialog, "groupOrderEdit")->hasFocus());
        }
    }

    void theNameCheckComesBeforeTheOrderCheck() {
        TForm1 dialog(*m_platform, m_plan, nullptr);
        dialog.show();
        answer(QString(), QStringLiteral("x"))(&dialog);
        QCOMPARE(m_platform->messages, QStringList{"グループ名を入力してください。"});
    }

    void refusesTheNameOfAnotherGroupExactlyOnly_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("same") << "畝A" << false;
        QTest::newRow("trailing space") << "畝A " << true;
        QTest::newRow("full-width letter") << "畝Ａ" << true;
    }
    void refusesTheNameOfAnotherGroupExactlyOnly() {
        QFETCH(QString, name);
        QFETCH(bool, accepted);
        addGroup(m_plan, QStringLiteral("畝A"), 1);
        TForm1 dialog(*m_platform, m_plan, nullptr);
        dialog.show();
        answer(name, QString())(&dialog);
        QCOMPARE(dialog.result() == QDialog::Accepted, accepted);
        if (!accepted)
            QCOMPARE(m_platform->messages, QStringList{"すでに存在するグループ名が入力されています。"});
    }

    void changingKeepsItsOwnNameButNotAnother() {
        TGroup* a = addGroup(m_plan, QStringLiteral("畝A"), 1);
        addGroup(m_plan, QStringLiteral("畝B"), 2);
        TForm1 keep(*m_platform, m_plan, a);
        keep.show();
        QCOMPARE(child<QLineEdit>(&keep, "groupNameEdit")->text(), QStringLiteral("畝A"));
        QCOMPARE(child<QLineEdit>(&keep, "groupOrderEdit")->text(), QStringLiteral("1"));
        click(&keep, "okButton");
        QCOMPARE(keep.result(), int(QDialog::Accepted));
        TForm1 clash(*m_platform, m_plan, a);
        clash.show();
        answer(QStringLiteral("畝B"), QStringLiteral("1"))(&clash);
        QCOMPARE(clash.result(), int(QDialog::Rejected));
        QCOMPARE(m_platform->messages, QStringList{"すでに存在するグループ名が入力されています。"});
    }

    void listsTheGroupsSortedWithCountsAndOrders() {
        TGroup* b = addGroup(m_plan, QStringLiteral("畝B"), 3);
        addEntry(b, QStringLiteral("ナス"), 1);
        addEntry(b, kDummyCropName, 2);
        addGroup(m_plan, QStringLiteral("畝A"), 1);
        auto dialog = openList();
        TListView3* list = dialog->list();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("グループ設定"));
        QCOMPARE(list->rowCount(), 2);
        QCOMPARE(list->row(0)->text(1), QStringLiteral("畝A"));
        QCOMPARE(list->row(0)->text(2), QStringLiteral("0"));
        QCOMPARE(list->row(1)->text(2), QStringLiteral("1"));
        QCOMPARE(list->row(1)->text(3), QStringLiteral("3"));
        QCOMPARE(list->row(1)->textAlignment(2), int(Qt::AlignCenter));
        QCOMPARE(list->CheckedCount(), 0);
        QCOMPARE(m_plan.at(0)->name, QStringLiteral("畝A"));
        QVERIFY(!dialog->changed());
    }

    void theFirstGroupWithoutOrderGetsOne() {
        auto dialog = openList();
        onModal<TForm1>(answer(QStringLiteral("畝A"), QString()));
        click(dialog.get(), "groupAddButton");
        QCOMPARE(m_plan.count(), 1);
        QCOMPARE(m_plan.at(0)->order, 1);
        QVERIFY(dialog->changed());
        QCOMPARE(dialog->list()->rowCount(), 1);
        const TGroupList saved = reloaded();
        QCOMPARE(saved.count(), 1);
        QCOMPARE(saved.name, QStringLiteral("春の畑"));
    }

    void aGroupWithoutOrderGoesAfterTheLargest() {
        addGroup(m_plan, QStringLiteral("畝A"), 7);
        addGroup(m_plan, QStringLiteral("畝B"), 2);
        auto dialog = openList();
        onModal<TForm1>(answer(QStringLiteral("畝C"), QString()));
        click(dialog.get(), "groupAddButton");
        QCOMPARE(m_plan.FindGroup(QStringLiteral("畝C"))->order, 8);
    }

    void theChangedGroupCountsInTheLargestOrder() {
        addGroup(m_plan, QStringLiteral("畝A"), 2);
        TGroup* b = addGroup(m_plan, QStringLiteral("畝B"), 5);
        addEntry(b, QStringLiteral("ナス"), 1);
        auto dialog = openList();
        clickRow(dialog->list(), 1);
        onModal<TForm1>(answer(QStringLiteral("畝C"), QString()));
        click(dialog.get(), "groupChangeButton");
        QCOMPARE(b->name, QStringLiteral("畝C"));
        QCOMPARE(b->order, 6);
        QCOMPARE(b->count(), 1);
        QCOMPARE(reloaded().FindGroup(QStringLiteral("畝C"))->order, 6);
    }

    void changeAndDeleteNeedACheckedRow() {
        addGroup(m_plan, QStringLiteral("畝A"), 1);
        auto dialog = openList();
        click(dialog.get(), "groupChangeButton");
        click(dialog.get(), "groupDeleteButton");
        QCOMPARE(m_platform->messages,
                 QStringList({"グループを選択してください。", "グループを選択してください。"}));
        QVERIFY(m_platform->questions.isEmpty());
        QVERIFY(!dialog->changed());
    }

    void deletingAGroupTakesItsEntriesAlong() {
        TGroup* a = addGroup(m_plan, QStringLiteral("畝A"), 1);
        for (const char* crop : {"トマト", "ナス", "ピーマン"})
            addEntry(a, QString::fromUtf8(crop), 1);
        addEntry(a, kDummyCropName, 2);
        addEntry(addGroup(m_plan, QStringLiteral("畝B"), 2), QStringLiteral("ネギ"), 1);
        auto dialog = openList();
        QCOMPARE(dialog->list()->row(0)->text(2), QStringLiteral("3"));
        clickRow(dialog->list(), 0);
        click(dialog.get(), "groupDeleteButton");
        QCOMPARE(m_platform->questions,
                 QStringList{
                     "畝A を削除します。よろしいですか？\r\nこの畝の作付 3 件とダミー 1 件も削除されます。"});
        QVERIFY(dialog->changed());
        QVERIFY(dialog->deleted());
        QCOMPARE(m_plan.count(), 1);
        const QByteArray file = plantest::readBytes(folder() + kFile);
        QVERIFY(!file.contains("ナス"));
        QVERIFY(file.contains("group"));
        QCOMPARE(reloaded().count(), 1);
        QCOMPARE(reloaded().CropCount(), 1);
    }

    void noToTheQuestionKeepsTheGroup() {
        addGroup(m_plan, QStringLiteral("畝A"), 1);
        auto dialog = openList();
        m_platform->answers.enqueue(false);
        clickRow(dialog->list(), 0);
        click(dialog.get(), "groupDeleteButton");
        QCOMPARE(m_plan.count(), 1);
        QVERIFY(!dialog->changed());
        QVERIFY(!QFile::exists(folder() + kFile));
    }

    // Opened from the group list the user moved aside, it still comes up in
    // the middle of the main window.
    void groupDialogIsCentredOnTheMainWindow() {
        QWidget main;
        testsupport::placeMainWindow(main);
        TForm3 list(*m_platform, m_plan, QStringLiteral("春の畑"), kFile, &main);
        list.show();
        list.move(main.frameGeometry().topLeft());
        bool centred = false;
        onModal<TForm1>([&](TForm1* form) { centred = testsupport::centredOn(*form, main); });
        click(&list, "groupAddButton");
        QVERIFY(centred);
    }

    void cancellingTheGroupDialogChangesNothing() {
        auto dialog = openList();
        onModal<TForm1>([](TForm1* form) { click(form, "cancelButton"); });
        click(dialog.get(), "groupAddButton");
        QCOMPARE(m_plan.count(), 0);
        QVERIFY(!dialog->changed());
    }
};

QTEST_MAIN(GroupDialogsTest)
#include "group_dialogs_test.moc"
