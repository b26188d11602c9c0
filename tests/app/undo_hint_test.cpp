#include "app/main_window.h"
#include "crops/crop_records.h"
#include "favourites/favourite_records.h"
#include "favourites/favourites_pick_dialog.h"
#include "history/history.h"
#include "plans/entry_pick_dialog.h"
#include "plans/group_list_dialog.h"
#include "plans/plan_records.h"
#include "purchases/purchase_records.h"
#include "schedule/schedule_tab.h"
#include "schedule/task_records.h"
#include "support/files.h"
#include "support/modal.h"
#include "support/scripted_platform.h"
#include "widgets/list_view3.h"
#include "widgets/passing_note.h"

#include <QAbstractButton>
#include <QDir>
#include <QLayout>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using testsupport::whenModal;

namespace {

const QString kDeleted = QStringLiteral("削除しました（Ctrl+Z で元に戻せます）");

void addEntry(TGroup& group, const QString& name, int ichi) {
    TSakumotu2* entry = group.add();
    entry->name = name;
    entry->ichi = ichi;
    if (name == kDummyCropName)
        return;
    entry->StTuki = QStringLiteral("5");
    entry->StShuu = QStringLiteral("1");
    entry->EdTuki = QStringLiteral("8");
    entry->EdShuu = QStringLiteral("2");
}

// One record of each kind, each the first of its list, and a few more crops
// and tasks so that their lists stay as they are when one goes.
void writeNotebook(const QString& folder) {
    store::RecordingSink sink;
    TSakumotuList crops;
    for (const char* name : {"トマト", "ナス", "ピーマン"})
        crops.add()->name = QString::fromUtf8(name);
    QVERIFY(crops.SaveToFile(folder, sink));
    TGroupList plan;
    TGroup* bed = plan.add();
    bed->name = QStringLiteral("東の畝");
    addEntry(*bed, QStringLiteral("トマト"), 1);
    addEntry(*bed, QStringLiteral("ナス"), 2);
    QVERIFY(plan.SaveToFile(folder, QStringLiteral("計画１"), QStringLiteral("sakutuke1.xml"), sink));
    TYoteiList tasks;
    for (const char* name : {"支柱立て", "追肥", "土寄せ"}) {
        TYotei* task = tasks.add();
        task->name = QString::fromUtf8(name);
        task->tuki = QStringLiteral("6");
        task->shuu = QStringLiteral("1");
        task->state = kYoteiDone;
    }
    QVERIFY(tasks.SaveToFile(folder, sink));
    TCostList costs;
    TCost* cost = costs.add();
    cost->nen = QStringLiteral("2014");
    cost->tuki = QStringLiteral("5");
    cost->hi = QStringLiteral("3");
    for (const char* name : {"培養土", "トマト苗", "支柱"}) {
        TSina* line = cost->sina.add();
        line->name = QString::fromUtf8(name);
        line->kingaku = QStringLiteral("500");
    }
    QVERIFY(costs.SaveToFile(folder, sink));
    TOkiniList okini;
    okini.add()->name = QStringLiteral("野菜の会");
    QVERIFY(okini.SaveToFile(folder, sink));
    QVERIFY(sink.messages.isEmpty());
}

// Where every control of the window is, and whether it shows.
QStringList placesOf(QWidget* window, const QWidget* leaveOut) {
    QStringList places;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w == leaveOut)
            continue;
        const QPoint at = w->mapTo(window, QPoint(0, 0));
        places << QStringLiteral("%1 %2 %3,%4 %5x%6 %7")
                      .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName())
                      .arg(at.x())
                      .arg(at.y())
                      .arg(w->width())
                      .arg(w->height())
                      .arg(w->isVisible());
    }
    return places;
}

} // namespace

// Undo is there to be found: a delete question says what goes along with the
// record, and after a delete or a clear a passing note names Ctrl+Z.
class UndoHintTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void groupQuestionSaysWhatGoesAlong_data();
    void groupQuestionSaysWhatGoesAlong();
    void purchaseOfOneLineAsksAsBefore();
    void everyDeleteAndClearLeavesTheNote_data();
    void everyDeleteAndClearLeavesTheNote();
    void theNoteMovesNoControlAndPasses();
    void theNoteLiesAboveTheCommandButtons();
    void noNoteWithoutHistoryOrAfterAFailedSave();

private:
    void open();
    void click(const char* name);
    void run(const QString& command);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TForm5> m_window;
};

void UndoHintTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<ScriptedPlatform>(testsupport::folderOf(*m_dir));
    m_platform->keepHistory = true;
    writeNotebook(m_platform->dataFolder());
}

void UndoHintTest::cleanup() {
    m_window.reset();
    m_platform.reset();
    m_dir.reset();
}

void UndoHintTest::open() {
    m_window = std::make_unique<TForm5>(*m_platform);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void UndoHintTest::click(const char* name) {
    auto* button = m_window->findChild<QAbstractButton*>(name);
    QVERIFY2(button, name);
    QTest::mouseClick(button, Qt::LeftButton);
}

// Each command on the first record of its list, as the gardener gives it, answered はい.
void UndoHintTest::run(const QString& command) {
    QTabWidget* tabs = m_window->tabWidget();
    const auto tickFirst = [&](const char* list, int tab) {
        tabs->setCurrentIndex(tab);
        m_window->findChild<TListView3*>(list)->CheckItem(0);
    };
    if (command == QStringLiteral("crop")) {
        tickFirst("cropList", 1);
        click("cropDeleteButton");
    } else if (command == QStringLiteral("entry")) {
        tabs->setCurrentIndex(2);
        whenModal<TForm6>([](TForm6* picker) {
            picker->list()->CheckItem(0);
            picker->OkButtonClick();
        });
        click("planDeleteButton");
    } else if (command == QStringLiteral("group")) {
        tabs->setCurrentIndex(2);
        whenModal<TForm3>([](TForm3* groups) {
            groups->list()->CheckItem(0);
            groups->DeleteButtonClick();
        });
        click("planGroupButton");
    } else if (command == QStringLiteral("task") || command == QStringLiteral("clear")) {
        tabs->setCurrentIndex(3);
        click("taskFilter4");
        tickFirst("taskList", 3);
        click(command == QStringLiteral("task") ? "taskDeleteButton" : "taskClearButton");
    } else if (command == QStringLiteral("purchase")) {
        tickFirst("costList", 4);
        click("costDeleteButton");
    } else if (command == QStringLiteral("favourite")) {
        tabs->setCurrentIndex(7);
        whenModal<TForm19>([](TForm19* picker) {
            picker->list()->CheckItem(0);
            picker->OkButtonClick();
        });
        click("okiniDeleteButton");
    }
}

void UndoHintTest::groupQuestionSaysWhatGoesAlong_data() {
    QTest::addColumn<int>("crops");
    QTest::addColumn<int>("dummies");
    QTest::addColumn<QString>("question");
    const QString asked = QStringLiteral("東の畝 を削除します。よろしいですか？");
    QTest::newRow("three crops") << 3 << 0 << asked + QStringLiteral("\r\nこの畝の作付 3 件も削除されます。");
    QTest::newRow("crops and a placeholder")
        << 2 << 1 << asked + QStringLiteral("\r\nこの畝の作付 2 件とダミー 1 件も削除されます。");
    QTest::newRow("placeholders only")
        << 0 << 2 << asked + QStringLiteral("\r\nこの畝のダミー 2 件も削除されます。");
    QTest::newRow("an empty group") << 0 << 0 << asked;
}

void UndoHintTest::groupQuestionSaysWhatGoesAlong() {
    QFETCH(int, crops);
    QFETCH(int, dummies);
    QFETCH(QString, question);
    TGroupList plan;
    TGroup* bed = plan.add();
    bed->name = QStringLiteral("東の畝");
    for (int i = 0; i < crops; ++i)
        addEntry(*bed, QStringLiteral("作物%1").arg(i), i + 1);
    for (int i = 0; i < dummies; ++i)
        addEntry(*bed, kDummyCropName, crops + i + 1);
    TForm3 groups(*m_platform, plan, QStringLiteral("計画１"), QStringLiteral("sakutuke1.xml"));
    groups.show();
    groups.list()->CheckItem(0);
    m_platform->answers.enqueue(false);
    groups.DeleteButtonClick();
    QCOMPARE(m_platform->questions, QStringList{question});
    QCOMPARE(plan.count(), 1);
}

// The question names the purchase by its one line's sum already.
void UndoHintTest::purchaseOfOneLineAsksAsBefore() {
    TCostList costs;
    TCost* cost = costs.add();
    cost->nen = QStringLiteral("2014");
    cost->tuki = QStringLiteral("5");
    cost->hi = QStringLiteral("3");
    cost->sina.add()->kingaku = QStringLiteral("1500");
    store::RecordingSink sink;
    QVERIFY(costs.SaveToFile(m_platform->dataFolder(), sink));
    open();
    run(QStringLiteral("purchase"));
    QCOMPARE(m_platform->questions,
             QStringList{QStringLiteral("2014/5/3 の 1500円 を削除します。よろしいですか？")});
}

void UndoHintTest::everyDeleteAndClearLeavesTheNote_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("note");
    QTest::newRow("crop") << "crop" << kDeleted;
    QTest::newRow("plan entry") << "entry" << kDeleted;
    QTest::newRow("group, once the group list has closed") << "group" << kDeleted;
    QTest::newRow("task") << "task" << kDeleted;
    QTest::newRow("clearing the marks") << "clear" << kDeleted;
    QTest::newRow("purchase") << "purchase" << kDeleted;
    QTest::newRow("favourite") << "favourite" << kDeleted;
}

void UndoHintTest::everyDeleteAndClearLeavesTheNote() {
    QFETCH(QString, command);
    QFETCH(QString, note);
    open();
    QVERIFY(!m_window->passingNote() || !m_window->passingNote()->isVisible());
    run(command);
    QCOMPARE(m_platform->questions.size(), 1);
    QVERIFY(m_platform->messages.isEmpty());
    TPassingNote* shown = m_window->passingNote();
    QVERIFY(shown);
    QVERIFY(shown->isVisible());
    QCOMPARE(shown->text(), note);
    QCOMPARE(m_window->context().history->changes().size(), 1);
}

void UndoHintTest::theNoteMovesNoControlAndPasses() {
    open();
    m_window->tabWidget()->setCurrentIndex(1);
    const QStringList before = placesOf(m_window.get(), nullptr);
    run(QStringLiteral("crop"));
    TPassingNote* note = m_window->passingNote();
    QVERIFY(note && note->isVisible());
    QCOMPARE(placesOf(m_window.get(), note), before);
    // The focus stays on the button the gardener pressed.
    QCOMPARE(QApplication::focusWidget(), m_window->findChild<QWidget*>("cropDeleteButton"));
    // Over the window, in no layout, and the mouse goes through it.
    QCOMPARE(note->parentWidget(), m_window.get());
    QCOMPARE(m_window->layout()->indexOf(note), -1);
    QVERIFY(m_window->rect().contains(note->geometry()));
    QVERIFY(m_window->childAt(note->geometry().center()) != note);
    QCOMPARE(note->focusPolicy(), Qt::NoFocus);

    // It stays while the window is resized, and goes by itself.
    m_window->resize(900, 700);
    QVERIFY(m_window->rect().contains(note->geometry()));
    QVERIFY(qAbs(note->geometry().center().x() - m_window->width() / 2) <= 1);
    QVERIFY(note->timer()->isActive());
    QCOMPARE(note->timer()->interval(), TPassingNote::kShownMs);
    note->timer()->start(0);
    QTRY_VERIFY(!note->isVisible());
}

// The schedule has the most command buttons, in two lines: the note covers none of them.
void UndoHintTest::theNoteLiesAboveTheCommandButtons() {
    open();
    run(QStringLiteral("task"));
    const TPassingNote* note = m_window->passingNote();
    QVERIFY(note && note->isVisible());
    for (const QAbstractButton* button : m_window->scheduleTab()->findChildren<QAbstractButton*>()) {
        const QRect place(button->mapTo(m_window.get(), QPoint(0, 0)), button->size());
        QVERIFY2(!place.intersects(note->geometry()), qPrintable(button->objectName()));
    }
}

void UndoHintTest::noNoteWithoutHistoryOrAfterAFailedSave() {
    m_platform->keepHistory = false;
    open();
    run(QStringLiteral("task"));
    QCOMPARE(m_platform->questions.size(), 1);
    QVERIFY(!m_window->passingNote());

    // A schedule that cannot be written is not deleted on disk: Ctrl+Z would undo something else.
    m_window.reset();
    m_platform->keepHistory = true;
    m_platform->questions.clear();
    open();
    const QString path = m_platform->dataFolder() + kYoteiFileName;
    QVERIFY(QFile::remove(path));
    QVERIFY(QDir().mkdir(path));
    run(QStringLiteral("task"));
    QCOMPARE(m_platform->questions.size(), 1);
    // The save's message, then whatever reading the schedule back from its file has to say.
    QVERIFY(!m_platform->messages.isEmpty());
    QVERIFY2(m_platform->messages.first().contains(QStringLiteral("保存")),
             qPrintable(m_platform->messages.join('|')));
    QVERIFY(!m_window->passingNote() || !m_window->passingNote()->isVisible());
}

QTEST_MAIN(UndoHintTest)
#include "undo_hint_test.moc"
