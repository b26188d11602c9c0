#include "history_support.h"

#include "app/main_window.h"
#include "crops/crop_dialog.h"
#include "crops/crop_records.h"
#include "favourites/favourite_records.h"
#include "favourites/url_dialog.h"
#include "history/command_scope.h"
#include "history_ui/history_window.h"
#include "plans/group_dialog.h"
#include "plans/group_list_dialog.h"
#include "plans/plan_records.h"
#include "purchases/purchase_records.h"
#include "schedule/task_dialog.h"
#include "schedule/task_records.h"
#include "store/messages.h"
#include "support/file_size_limit.h"
#include "support/files.h"
#include "support/modal.h"
#include "support/scripted_platform.h"
#include "widgets/list_view3.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>

using testsupport::readBytes;
using testsupport::whenModal;

// The history through the main window as the gardener meets it: commands on
// the tabs, Ctrl+Z and its kin on the keyboard, the window 履歴.
class HistoryWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void undoAndRedoStepThroughCommands();
    void cropRenameComesBackWholeInOneStep();
    void favouritesUndoShowsThePageAgain();
    void restoresAnOlderChangeFromTheWindow();
    void failingHistoryTellsOnceAndSavesStill();
    void ctrlZInADialogFieldIsTheFieldsOwn();
    void historyButtonSitsBesideHelp();
    void failedSaveShowsWhatTheFileHolds();
    void failedSaveInTheGroupListWaitsForTheDialog();
    void halfDoneUndoShowsTheFilesAsTheyAre();
    void startNotesShowOverTheWindow();

private:
    QString folder() const { return m_dir->path() + QLatin1Char('/'); }
    void open();
    void press(int key, Qt::KeyboardModifiers modifiers);
    void click(const char* name);
    void clickRow(TListView3* list, int index);
    TListView3* taskList() const { return m_window->findChild<TListView3*>("taskList"); }
    void showAllTasks();

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TForm5> m_window;
};

void HistoryWindowTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<ScriptedPlatform>(folder());
    m_platform->keepHistory = true;
    TYoteiList tasks;
    for (const char* name : {"種まき", "追肥", "収穫"}) {
        TYotei* task = tasks.add();
        task->name = QString::fromUtf8(name);
        task->tuki = QStringLiteral("5");
        task->shuu = QStringLiteral("1");
    }
    QVERIFY(tasks.SaveToFile(folder(), *m_platform));
}

void HistoryWindowTest::cleanup() {
    m_window.reset();
    m_platform.reset();
    m_dir.reset();
}

void HistoryWindowTest::open() {
    m_window = std::make_unique<TForm5>(*m_platform);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

// A modal dialog that closed leaves no window active on the offscreen
// platform, where a desktop gives the main window its activation back.
void HistoryWindowTest::press(int key, Qt::KeyboardModifiers modifiers) {
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTest::keyClick(m_window.get(), Qt::Key(key), modifiers);
}

void HistoryWindowTest::click(const char* name) {
    auto* button = m_window->findChild<QAbstractButton*>(name);
    QVERIFY2(button, name);
    QTest::mouseClick(button, Qt::LeftButton);
}

void HistoryWindowTest::clickRow(TListView3* list, int index) {
    const QRect rect = list->visualItemRect(list->row(index));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(60, rect.center().y()));
}

void HistoryWindowTest::showAllTasks() {
    m_window->tabWidget()->setCurrentIndex(3);
    click("taskFilter4");
}

// Mark a task done and delete another; two Ctrl+Z take both back to the very
// bytes of before, two redos bring both again.
void HistoryWindowTest::undoAndRedoStepThroughCommands() {
    open();
    showAllTasks();
    const QString path = folder() + kYoteiFileName;
    const QByteArray original = readBytes(path);
    clickRow(taskList(), 0);
    click("taskDoneButton");
    QCOMPARE(taskList()->row(0)->text(4), QStringLiteral("完了"));
    const QByteArray done = readBytes(path);
    clickRow(taskList(), 1);
    click("taskDeleteButton");
    const QByteArray deleted = readBytes(path);
    QCOMPARE(taskList()->rowCount(), 2);

    m_platform->messages.clear();
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(readBytes(path), done);
    QCOMPARE(taskList()->rowCount(), 3);
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(readBytes(path), original);
    QCOMPARE(taskList()->row(0)->text(4), QString());
    QCOMPARE(m_platform->messages.size(), 2);
    QVERIFY(QRegularExpression(QStringLiteral("^予定「削除」（\\d\\d:\\d\\d）を元に戻しました。$"))
                .match(m_platform->messages[0])
                .hasMatch());
    QVERIFY(QRegularExpression(QStringLiteral("^予定「完了にする」（\\d\\d:\\d\\d）を元に戻しました。$"))
                .match(m_platform->messages[1])
                .hasMatch());
    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_platform->messages.last(), QStringLiteral("元に戻せる変更はありません。"));

    press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(readBytes(path), done);
    QCOMPARE(taskList()->row(0)->text(4), QStringLiteral("完了"));
    press(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(readBytes(path), deleted);
    QVERIFY(m_platform->messages.last().endsWith(QStringLiteral("をやり直しました。")));
    press(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(m_platform->messages.last(), QStringLiteral("やり直せる変更はありません。"));
}

// The catalogue and the eight plans in one change: one Ctrl+Z brings all of
// them back, the plans that did not exist removed, the tabs showing the old name.
void HistoryWindowTest::cropRenameComesBackWholeInOneStep() {
    TSakumotuList crops;
    crops.add()->name = QStringLiteral("トマト");
    crops.add()->name = QStringLiteral("ナス");
    QVERIFY(crops.SaveToFile(folder(), *m_platform));
    TGroupList plan;
    TGroup* group = plan.add();
    group->name = QStringLiteral("畝1");
    group->add()->name = QStringLiteral("ナス");
    group->at(0)->ichi = 1;
    QVERIFY(
        plan.SaveToFile(folder(), QStringLiteral("春の畑"), QStringLiteral("sakutuke1.xml"), *m_platform));
    const QByteArray cropsBefore = readBytes(folder() + kCropFileName);
    const QByteArray planBefore = readBytes(folder() + QStringLiteral("sakutuke1.xml"));
    open();
    m_window->tabWidget()->setCurrentIndex(1);
    TListView3* list = m_window->findChild<TListView3*>("cropList");
    clickRow(list, 1);
    whenModal<TForm2>([](TForm2* dialog) {
        dialog->findChild<QLineEdit*>("nameEdit")->setText(QStringLiteral("水ナス"));
        QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    click("cropChangeButton");
    QCOMPARE(m_window->context().plan->at(0)->at(0)->name, QStringLiteral("水ナス"));
    QCOMPARE(m_window->context().history->changes().size(), 1);
    QCOMPARE(m_window->context().history->changes().first().files.size(), 9);

    press(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(readBytes(folder() + kCropFileName), cropsBefore);
    QCOMPARE(readBytes(folder() + QStringLiteral("sakutuke1.xml")), planBefore);
    QVERIFY(!QFile::exists(folder() + QStringLiteral("sakutuke2.xml")));
    QCOMPARE(list->row(1)->text(1), QStringLiteral("ナス"));
    QCOMPARE(m_window->context().plan->at(0)->at(0)->name, QStringLiteral("ナス"));
    QCOMPARE(m_window->context().crops->at(0)->name, kDummyCropName);
    QVERIFY(m_platform->messages.last().startsWith(QStringLiteral("作物一覧「変更」（")));
}

// The page is made from the list, never kept: after the undo it is written
// again from the list as it was.
void HistoryWindowTest::favouritesUndoShowsThePageAgain() {
    open();
    m_window->tabWidget()->setCurrentIndex(6);
    whenModal<TForm18>([](TForm18* dialog) {
        dialog->findChild<QLineEdit*>("nameEdit")->setText(QStringLiteral("野菜の会"));
        QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    click("okiniAddButton");
    const QString page = folder() + kOkiniPageName;
    QVERIFY(readBytes(page).contains("<p><a href="));
    press(Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!QFile::exists(folder() + kOkiniFileName));
    QCOMPARE(m_window->context().okini->count(), 0);
    QVERIFY(!readBytes(page).contains("<p><a href="));
    QVERIFY(m_platform->messages.last().startsWith(QStringLiteral("お気に入り「追加」（")));
    QVERIFY(historytest::keptFiles(folder()).filter(kOkiniPageName).isEmpty());
}

void HistoryWindowTest::restoresAnOlderChangeFromTheWindow() {
    open();
    showAllTasks();
    const QString path = folder() + kYoteiFileName;
    const QByteArray original = readBytes(path);
    for (int row = 0; row < 3; ++row) {
        clickRow(taskList(), row);
        click("taskDoneButton");
    }
    m_platform->answers.enqueue(true);
    QStringList rows;
    whenModal<TFormHistory>([&rows](TFormHistory* window) {
        TListView3* list = window->list();
        for (int i = 0; i < list->rowCount(); ++i)
            rows << list->row(i)->text(2) + QLatin1Char('|') + list->row(i)->text(3);
        list->CheckItem(2);
        QTest::mouseClick(window->findChild<QPushButton*>("historyRestoreButton"), Qt::LeftButton);
        rows << list->row(0)->text(2);
        QTest::mouseClick(window->findChild<QPushButton*>("historyCloseButton"), Qt::LeftButton);
    });
    press(Qt::Key_H, Qt::ControlModifier);

    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows[0], QStringLiteral("予定「完了にする」|予定 3件 → 3件"));
    QVERIFY(rows[3].startsWith(QStringLiteral("履歴から戻す（")));
    QCOMPARE(m_platform->questions.size(), 1);
    QVERIFY(QRegularExpression(QStringLiteral("^\\d{4}/\\d\\d/\\d\\d \\d\\d:\\d\\d の「予定「完了にする」」"
                                              "の前の状態に戻します。よろしいですか？$"))
                .match(m_platform->questions.first())
                .hasMatch());
    QCOMPARE(readBytes(path), original);
    for (int row = 0; row < 3; ++row)
        QCOMPARE(taskList()->row(row)->text(4), QString());
    QVERIFY(m_platform->messages.last().endsWith(QStringLiteral("の前の状態に戻しました。")));
}

void HistoryWindowTest::failingHistoryTellsOnceAndSavesStill() {
    QVERIFY(testsupport::writeBytes(folder() + QStringLiteral("history"), "a file, not a folder"));
    open();
    QTRY_VERIFY(!m_platform->messages.isEmpty());
    showAllTasks();
    for (int row = 0; row < 2; ++row) {
        clickRow(taskList(), row);
        click("taskDoneButton");
        TYoteiList saved;
        store::RecordingSink sink;
        QVERIFY(saved.LoadFromFile(folder(), sink));
        int done = 0;
        for (int i = 0; i < saved.count(); ++i)
            done += saved.at(i)->isDone() ? 1 : 0;
        QCOMPARE(done, row + 1);
    }
    QCOMPARE(m_platform->messages.count(history::kKeepFailedMessage), 0);
    QCOMPARE(m_platform->messages.filter(QStringLiteral("変更履歴のフォルダー（history）")).size(), 1);
}

void HistoryWindowTest::ctrlZInADialogFieldIsTheFieldsOwn() {
    open();
    showAllTasks();
    const QByteArray before = readBytes(folder() + kYoteiFileName);
    clickRow(taskList(), 0);
    click("taskDoneButton");
    QString afterUndo;
    whenModal<TForm11>([&afterUndo](TForm11* dialog) {
        QLineEdit* field = dialog->findChild<QComboBox*>("nameCombo")->lineEdit();
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("abc"));
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        afterUndo = field->text();
    });
    click("taskAddButton");
    QVERIFY(afterUndo != QStringLiteral("abc"));
    QVERIFY(readBytes(folder() + kYoteiFileName) != before);
    QCOMPARE(m_window->context().history->changes().size(), 1);
}

void HistoryWindowTest::historyButtonSitsBesideHelp() {
    open();
    auto* history = m_window->findChild<QAbstractButton*>("historyButton");
    auto* help = m_window->findChild<QAbstractButton*>("helpButton");
    QVERIFY(history && help);
    QCOMPARE(history->text(), QStringLiteral("履歴"));
    QCOMPARE(history->focusPolicy(), Qt::NoFocus);
    QVERIFY(history->geometry().right() < help->geometry().left());
    QCOMPARE(history->parentWidget(), help->parentWidget());

    cleanup();
    init();
    m_platform->keepHistory = false;
    open();
    QVERIFY(!m_window->findChild<QAbstractButton*>("historyButton"));
}

namespace {

const QString kTooLarge = QStringLiteral("\nファイルが大きすぎて書き込めません。");

int doneIn(const TYoteiList& tasks) {
    int done = 0;
    for (int i = 0; i < tasks.count(); ++i)
        done += tasks.at(i)->isDone() ? 1 : 0;
    return done;
}

} // namespace

// The disk is full as 完了にする saves: the message says why, and the tab shows
// the schedule as its file holds it, so the next command does not save the
// change that failed.
void HistoryWindowTest::failedSaveShowsWhatTheFileHolds() {
    open();
    showAllTasks();
    const QByteArray original = readBytes(folder() + kYoteiFileName);
    m_platform->messages.clear();
    {
        testsupport::FileSizeLimit full(64);
        clickRow(taskList(), 0);
        click("taskDoneButton");
    }
    QCOMPARE(readBytes(folder() + kYoteiFileName), original);
    QCOMPARE(taskList()->row(0)->text(4), QString());
    QCOMPARE(doneIn(*m_window->context().tasks), 0);
    QCOMPARE(m_platform->messages, QStringList{QString::fromUtf8(msg::SaveFailed) + kTooLarge});

    clickRow(taskList(), 1);
    click("taskDoneButton");
    TYoteiList saved;
    store::RecordingSink sink;
    QVERIFY(saved.LoadFromFile(folder(), sink));
    QCOMPARE(doneIn(saved), 1);
    QVERIFY(saved.at(1)->isDone());
}

// The group list holds the plan's groups while it is open: the plan is read
// again once it has closed, and the chart shows what the plan file holds.
void HistoryWindowTest::failedSaveInTheGroupListWaitsForTheDialog() {
    open();
    m_window->tabWidget()->setCurrentIndex(2);
    int groupsWhileOpen = -1;
    whenModal<TForm3>([&groupsWhileOpen, this](TForm3* list) {
        whenModal<TForm1>([](TForm1* dialog) {
            dialog->findChild<QLineEdit*>("groupNameEdit")->setText(QStringLiteral("畝1"));
            QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
        });
        {
            testsupport::FileSizeLimit full(64);
            QTest::mouseClick(list->findChild<QPushButton*>("groupAddButton"), Qt::LeftButton);
        }
        groupsWhileOpen = m_window->context().plan->count();
        list->accept();
    });
    click("planGroupButton");
    QCOMPARE(groupsWhileOpen, 1);
    QTRY_COMPARE(m_window->context().plan->count(), 0);
    QCOMPARE(m_platform->messages.filter(QString::fromUtf8(msg::SaveFailed)).size(), 1);
    QVERIFY(!QFile::exists(folder() + QStringLiteral("sakutuke1.xml")));
}

// An undo that can neither finish nor be taken back: the tabs show the files
// as the undo left them, a command on them is refused until the undo is set
// right, and once there is room again the next one goes through.
void HistoryWindowTest::halfDoneUndoShowsTheFilesAsTheyAre() {
    qint64 fullAt = 0;
    {
        historytest::Recording on(folder());
        QVERIFY(historytest::savePurchases(folder(), 2000));
        const history::CommandScope change(&on.history, QStringLiteral("両方"));
        QVERIFY(historytest::saveTasks(folder(), 2000, QStringLiteral("b")));
        QVERIFY(historytest::savePurchases(folder(), 1));
        fullAt = QFileInfo(folder() + kYoteiFileName).size() / 2;
    }
    open();
    showAllTasks();
    QCOMPARE(taskList()->rowCount(), 2000);
    m_platform->messages.clear();
    {
        testsupport::FileSizeLimit full{rlim_t(fullAt)};
        press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(taskList()->rowCount(), 3);
        QCOMPARE(m_window->context().costs->count(), 1);
        clickRow(taskList(), 0);
        click("taskDoneButton");
        QCOMPARE(taskList()->row(0)->text(4), QString());
        QCOMPARE(m_platform->messages.size(), 2);
        QVERIFY2(
            m_platform->messages.first().contains(QStringLiteral("途中まで書き戻したファイル（yotei.xml）")),
            qPrintable(m_platform->messages.first()));
        QVERIFY(m_platform->messages.last().startsWith(
            QString::fromUtf8(msg::SaveFailed) +
            QStringLiteral("\n「元に戻す（両方）」が途中で止まったまま")));
    }
    clickRow(taskList(), 0);
    click("taskDoneButton");
    QCOMPARE(m_platform->messages.size(), 2);
    QCOMPARE(taskList()->rowCount(), 3);
    QCOMPARE(taskList()->row(0)->text(4), QStringLiteral("完了"));
    QCOMPARE(historytest::taskNames(folder()).size(), 3);
}

// What the history did at the start is told once the window is on the screen.
void HistoryWindowTest::startNotesShowOverTheWindow() {
    {
        historytest::Recording on(folder());
        QVERIFY(historytest::savePurchases(folder(), 2000));
        const history::CommandScope change(&on.history, QStringLiteral("両方"));
        QVERIFY(historytest::saveTasks(folder(), 2000, QStringLiteral("b")));
        QVERIFY(historytest::savePurchases(folder(), 1));
    }
    {
        historytest::Recording on(folder());
        testsupport::FileSizeLimit full(rlim_t(QFileInfo(folder() + kYoteiFileName).size() / 2));
        QVERIFY(!on.history.undo().done);
    }
    QStringList seen;
    m_platform->whileMessageShown = [this, &seen] {
        QWindow* window = m_window ? m_window->windowHandle() : nullptr;
        seen << (window && window->isExposed() ? QStringLiteral("over the window")
                                               : QStringLiteral("before it"));
    };
    open();
    QTRY_COMPARE(seen.size(), 1);
    QCOMPARE(seen.first(), QStringLiteral("over the window"));
    QCOMPARE(m_platform->messages,
             QStringList{QStringLiteral(
                 "前回中断された「元に戻す（両方）」を取り消し、ファイルをその前の状態に戻しました。")});
    showAllTasks();
    QCOMPARE(taskList()->rowCount(), 2000);
}

QTEST_MAIN(HistoryWindowTest)
#include "history_window_test.moc"
