#include "schedule/task_dialog.h"
#include "schedule_support.h"
#include "support/scripted_platform.h"
#include "support/text_box.h"

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace scheduletest;

namespace {

// Japanese text arrives from the input method as one committed composition.
void compose(QWidget* field, const QString& text) {
    field->setFocus();
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(field, &event);
}

} // namespace

class TaskDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void addModeOpensEmpty();
    void changeModeShowsTheTask();
    void offersTheTenPresets();
    void unknownWeekSelectsTheFirstItem();
    void checksRunInOrder_data();
    void checksRunInOrder();
    void blankNameIsAccepted();
    void addsTaskMarkedAddedSortedAndSaved();
    void keepsHandTypedNameUnchanged_data();
    void keepsHandTypedNameUnchanged();
    void changeKeepsStateAndMovesInWeekOrder();
    void noteKeepsItsLinesThroughAChange();
    void cancelLeavesEverythingUntouched();
    void failedSaveStillClosesWithTheChange();
    void unchangedNoteKeepsTheFileThroughOks_data();
    void unchangedNoteKeepsTheFileThroughOks();
    void typedNoteIsSavedLineForLine();

private:
    template <class T> T* find(QDialog& dialog, const char* name) {
        return dialog.findChild<T*>(QString::fromLatin1(name));
    }
    void clickOk(QDialog& dialog) {
        QTest::mouseClick(find<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TYoteiList> m_tasks;
};

void TaskDialogTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<ScriptedPlatform>(m_dir->path() + QLatin1Char('/'));
    m_tasks = std::make_unique<TYoteiList>();
}

void TaskDialogTest::addModeOpensEmpty() {
    TForm11 dialog(*m_platform, *m_tasks, nullptr);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("予定（追加）"));
    QCOMPARE(dialog.size(), QSize(406, 366));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(find<QComboBox>(dialog, "nameCombo")->currentText(), QString());
    QCOMPARE(find<QComboBox>(dialog, "monthCombo")->currentIndex(), -1);
    QCOMPARE(find<QComboBox>(dialog, "weekCombo")->currentIndex(), -1);
    QCOMPARE(find<QPlainTextEdit>(dialog, "noteEdit")->toPlainText(), QString());
    bool noted = false;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        noted = noted || label->text() == QStringLiteral("※土曜を週末としています");
    QVERIFY(noted);
}

void TaskDialogTest::changeModeShowsTheTask() {
    TYotei* task = addTask(*m_tasks, {"種まき", "10", "3", kYoteiDone, {"トマト", "ナス"}});
    TForm11 dialog(*m_platform, *m_tasks, task);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("予定（変更）"));
    QCOMPARE(find<QComboBox>(dialog, "nameCombo")->currentText(), QStringLiteral("種まき"));
    QCOMPARE(find<QComboBox>(dialog, "monthCombo")->currentText(), QStringLiteral("10"));
    QCOMPARE(find<QComboBox>(dialog, "weekCombo")->currentText(), QStringLiteral("3"));
    QVERIFY(
        find<QPlainTextEdit>(dialog, "noteEdit")->toPlainText().startsWith(QStringLiteral("トマト\nナス")));
}

void TaskDialogTest::offersTheTenPresets() {
    TForm11 dialog(*m_platform, *m_tasks, nullptr);
    auto* name = find<QComboBox>(dialog, "nameCombo");
    QVERIFY(name->isEditable());
    QStringList items;
    for (int i = 0; i < name->count(); ++i)
        items << name->itemText(i);
    const QStringList expected{"種を購入", "苗を購入", "畑の準備－石灰", "畑の準備－元肥", "種まき",
                               "植えつけ", "植え替え", "追肥－１回目",   "追肥－２回目",   "追肥－３回目"};
    QCOMPARE(items, expected);
    auto* month = find<QComboBox>(dialog, "monthCombo");
    auto* week = find<QComboBox>(dialog, "weekCombo");
    QVERIFY(!month->isEditable());
    QCOMPARE(month->count(), 12);
    QCOMPARE(month->itemText(11), QStringLiteral("12"));
    QCOMPARE(week->count(), 5);
    QCOMPARE(week->itemText(4), QStringLiteral("5"));
}

void TaskDialogTest::unknownWeekSelectsTheFirstItem() {
    TYotei* task = addTask(*m_tasks, {"a", "13", "x", "", {}});
    TForm11 dialog(*m_platform, *m_tasks, task);
    QCOMPARE(find<QComboBox>(dialog, "monthCombo")->currentText(), QStringLiteral("1"));
    QCOMPARE(find<QComboBox>(dialog, "weekCombo")->currentText(), QStringLiteral("1"));
}

void TaskDialogTest::checksRunInOrder_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("week");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");

    QTest::newRow("nothing") << "" << -1 << -1 << "予定を入力（選択）してください。"
                             << "nameCombo";
    QTest::newRow("no name") << "" << 3 << 1 << "予定を入力（選択）してください。"
                             << "nameCombo";
    QTest::newRow("no month") << "種まき" << -1 << 1 << "月を選択してください。"
                              << "monthCombo";
    QTest::newRow("no month, no week") << "種まき" << -1 << -1 << "月を選択してください。"
                                       << "monthCombo";
    QTest::newRow("no week") << "種まき" << 3 << -1 << "週を選択してください。"
                             << "weekCombo";
}

void TaskDialogTest::checksRunInOrder() {
    QFETCH(QString, name);
    QFETCH(int, month);
    QFETCH(int, week);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    TForm11 dialog(*m_platform, *m_tasks, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    find<QComboBox>(dialog, "nameCombo")->setEditText(name);
    find<QComboBox>(dialog, "monthCombo")->setCurrentIndex(month);
    find<QComboBox>(dialog, "weekCombo")->setCurrentIndex(week);
    clickOk(dialog);
    QCOMPARE(m_platform->messages, QStringList{message});
    QVERIFY(dialog.isVisible());
    QCOMPARE(QApplication::focusWidget()->objectName(), focus);
    QCOMPARE(m_tasks->count(), 0);
    QVERIFY(!QFile::exists(m_platform->dataFolder() + kYoteiFileName));
}

void TaskDialogTest::blankNameIsAccepted() {
    TForm11 dialog(*m_platform, *m_tasks, nullptr);
    dialog.show();
    find<QComboBox>(dialog, "nameCombo")->setEditText(QStringLiteral(" "));
    find<QComboBox>(dialog, "monthCombo")->setCurrentIndex(0);
    find<QComboBox>(dialog, "weekCombo")->setCurrentIndex(0);
    clickOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(m_tasks->at(0)->name, QStringLiteral(" "));
}

void TaskDialogTest::addsTaskMarkedAddedSortedAndSaved() {
    fill(*m_tasks, {{"早い", "3", "1", "", {}}, {"遅い", "9", "2", "", {}}});
    TForm11 dialog(*m_platform, *m_tasks, nullptr);
    dialog.show();
    auto* name = find<QComboBox>(dialog, "nameCombo");
    name->setCurrentIndex(4);
    find<QComboBox>(dialog, "monthCombo")->setCurrentIndex(4);
    find<QComboBox>(dialog, "weekCombo")->setCurrentIndex(1);
    compose(find<QPlainTextEdit>(dialog, "noteEdit"), QStringLiteral("トマト"));
    clickOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(names(*m_tasks), (QStringList{"早い", "種まき", "遅い"}));
    const TYotei* added = m_tasks->at(1);
    QCOMPARE(dialog.task(), added);
    QCOMPARE(added->tuki, QStringLiteral("5"));
    QCOMPARE(added->shuu, QStringLiteral("2"));
    QCOMPARE(added->state, kYoteiAdded);
    QCOMPARE(added->note, QStringList{"トマト"});
    QCOMPARE(names(*reread(m_platform->dataFolder())), names(*m_tasks));
    QVERIFY(m_platform->messages.isEmpty());
}

void TaskDialogTest::keepsHandTypedNameUnchanged_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("not a preset") << "支柱立て";
    QTest::newRow("start of a preset") << "種";
    QTest::newRow("preset with more") << "種まき（二回目）";
}

void TaskDialogTest::keepsHandTypedNameUnchanged() {
    QFETCH(QString, typed);

    TForm11 dialog(*m_platform, *m_tasks, nullptr);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* name = find<QComboBox>(dialog, "nameCombo");
    for (const QChar c : typed)
        compose(name->lineEdit(), QString(c));
    find<QComboBox>(dialog, "monthCombo")->setCurrentIndex(5);
    find<QComboBox>(dialog, "weekCombo")->setCurrentIndex(4);
    clickOk(dialog);
    QCOMPARE(m_tasks->count(), 1);
    QCOMPARE(m_tasks->at(0)->name, typed);
    QCOMPARE(name->count(), 10);
}

void TaskDialogTest::changeKeepsStateAndMovesInWeekOrder() {
    fill(*m_tasks, {{"a", "3", "1", "", {}}, {"b", "4", "1", kYoteiDone, {"n"}}, {"c", "9", "1", "", {}}});
    TYotei* task = m_tasks->at(1);
    TForm11 dialog(*m_platform, *m_tasks, task);
    dialog.show();
    find<QComboBox>(dialog, "monthCombo")->setCurrentIndex(9);
    clickOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(names(*m_tasks), (QStringList{"a", "c", "b"}));
    QCOMPARE(task->state, kYoteiDone);
    QCOMPARE(task->tuki, QStringLiteral("10"));
    QCOMPARE(task->note, QStringList{"n"});
    QCOMPARE(names(*reread(m_platform->dataFolder())), (QStringList{"a", "c", "b"}));
}

// A merged note ends in an empty line; opening and confirming the dialog keeps it.
void TaskDialogTest::noteKeepsItsLinesThroughAChange() {
    const QStringList merged{"c", "-----", "b", "", "-----", "a", ""};
    TYotei* task = addTask(*m_tasks, {"t", "4", "1", "", merged});
    TForm11 dialog(*m_platform, *m_tasks, task);
    dialog.show();
    clickOk(dialog);
    QCOMPARE(task->note, merged);
}

void TaskDialogTest::cancelLeavesEverythingUntouched() {
    TYotei* task = addTask(*m_tasks, {"t", "4", "1", "", {"n"}});
    TForm11 dialog(*m_platform, *m_tasks, task);
    dialog.show();
    find<QComboBox>(dialog, "nameCombo")->setEditText(QStringLiteral("別"));
    find<QComboBox>(dialog, "monthCombo")->setCurrentIndex(8);
    find<QPlainTextEdit>(dialog, "noteEdit")->setPlainText(QStringLiteral("x"));
    QTest::mouseClick(find<QPushButton>(dialog, "cancelButton"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(task->name, QStringLiteral("t"));
    QCOMPARE(task->tuki, QStringLiteral("4"));
    QCOMPARE(task->note, QStringList{"n"});
    QCOMPARE(m_tasks->count(), 1);
    QVERIFY(!QFile::exists(m_platform->dataFolder() + kYoteiFileName));
}

void TaskDialogTest::failedSaveStillClosesWithTheChange() {
    ScriptedPlatform platform(m_dir->filePath(QStringLiteral("missing")) + QLatin1Char('/'));
    TForm11 dialog(platform, *m_tasks, nullptr);
    dialog.show();
    find<QComboBox>(dialog, "nameCombo")->setEditText(QStringLiteral("種まき"));
    find<QComboBox>(dialog, "monthCombo")->setCurrentIndex(0);
    find<QComboBox>(dialog, "weekCombo")->setCurrentIndex(0);
    clickOk(dialog);
    QCOMPARE(platform.messages, QStringList{"データの保存に失敗しました。"});
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(m_tasks->count(), 1);
}

void TaskDialogTest::unchangedNoteKeepsTheFileThroughOks_data() {
    QTest::addColumn<QStringList>("note");
    QTest::newRow("no empty line at the end") << QStringList{"トマト", "ナス"};
    QTest::newRow("one empty line at the end") << QStringList{"トマト", ""};
    QTest::newRow("two empty lines at the end") << QStringList{"トマト", "", ""};
    QTest::newRow("line breaks inside") << QStringList{"トマト", "", "-----", "ナス"};
    QTest::newRow("one empty line only") << QStringList{""};
}

// The box shows the note's lines, no more and no fewer, and gives them back
// unchanged however often the task is confirmed.
void TaskDialogTest::unchangedNoteKeepsTheFileThroughOks() {
    QFETCH(QStringList, note);
    addTask(*m_tasks, {"t", "4", "1", "", note});
    const QString folder = m_platform->dataFolder();
    QVERIFY(m_tasks->SaveToFile(folder, *m_platform));
    QFile file(folder + kYoteiFileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    file.close();
    std::unique_ptr<TYoteiList> tasks = reread(folder);
    for (int ok = 1; ok <= 3; ++ok) {
        TForm11 dialog(*m_platform, *tasks, tasks->at(0));
        dialog.show();
        QCOMPARE(testsupport::shownLines(*find<QPlainTextEdit>(dialog, "noteEdit")), note);
        clickOk(dialog);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), written);
        file.close();
    }
}

// What the user types or pastes is kept line for line, empty lines at the end included.
void TaskDialogTest::typedNoteIsSavedLineForLine() {
    TYotei* task = addTask(*m_tasks, {"t", "4", "1", "", {}});
    TForm11 dialog(*m_platform, *m_tasks, task);
    dialog.show();
    auto* box = find<QPlainTextEdit>(dialog, "noteEdit");
    box->setFocus();
    QTest::keyClicks(box, "a");
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(box, Qt::Key_Return);
    box->insertPlainText(QStringLiteral("b\r\nc\r\n")); // pasted from a Windows text
    clickOk(dialog);
    QCOMPARE(task->note, (QStringList{"a", "", "b", "c", ""}));
}

QTEST_MAIN(TaskDialogTest)
#include "task_dialog_test.moc"
