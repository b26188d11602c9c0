#include "plans/plan_records.h"
#include "schedule/quote_dialog.h"
#include "schedule_support.h"
#include "support/scripted_platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace scheduletest;

namespace {

TSakumotu2 entry(const QString& name, const QString& stTuki, const QString& stShuu,
                 const QString& edTuki = QStringLiteral("8"), const QString& edShuu = QStringLiteral("5")) {
    TSakumotu2 e;
    e.name = name;
    e.StTuki = stTuki;
    e.StShuu = stShuu;
    e.EdTuki = edTuki;
    e.EdShuu = edShuu;
    return e;
}

} // namespace

class QuoteDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void captionAndSize();
    void referenceStripShowsTheEntryPeriod();
    void rowDefaults_data();
    void rowDefaults();
    void rowPartsFollowTheirTick();
    void nothingTickedIsRefused();
    void emptiedNameStopsEveryAddition();
    void addsTickedRowsInOrderThenSorts();
    void takesEditedRowsAsTyped();
    void uncheckedRowsAreIgnored();
    void cancelAddsNothing();

private:
    template <class T> T* part(QDialog& dialog, const char* name, int row) {
        return dialog.findChild<T*>(QString::fromLatin1(name) + QString::number(row));
    }
    void tick(QDialog& dialog, int row) {
        QTest::mouseClick(part<QCheckBox>(dialog, "quoteCheck", row), Qt::LeftButton, {}, QPoint(6, 6));
    }
    void clickOk(QDialog& dialog) {
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("okButton")), Qt::LeftButton);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TYoteiList> m_tasks;
};

void QuoteDialogTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    m_platform = std::make_unique<ScriptedPlatform>(m_dir->path() + QLatin1Char('/'));
    m_tasks = std::make_unique<TYoteiList>();
}

void QuoteDialogTest::captionAndSize() {
    TForm13 dialog(*m_platform, entry("トマト", "5", "3"), *m_tasks);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("簡単予定追加（トマト）"));
    QCOMPARE(dialog.size(), QSize(582, 355));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QStringList texts;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    QVERIFY(texts.contains(QStringLiteral("作付計画での栽培期間（参照用）")));
    QVERIFY(texts.contains(QStringLiteral("※土曜を週末としています")));
    QVERIFY(texts.contains(QStringLiteral("追加する予定にチェックを付けてください（編集もできます）。")));
}

void QuoteDialogTest::referenceStripShowsTheEntryPeriod() {
    TForm13 dialog(*m_platform, entry("ナス", "4", "2", "10", "x"), *m_tasks);
    const QStringList names{"referenceStartMonth", "referenceStartWeek", "referenceEndMonth",
                            "referenceEndWeek"};
    const QStringList expected{"4", "2", "10", "1"};
    for (int i = 0; i < 4; ++i) {
        auto* list = dialog.findChild<QComboBox*>(names[i]);
        QVERIFY(list);
        QCOMPARE(list->currentText(), expected[i]);
        QVERIFY(!list->isEnabled());
    }
}

void QuoteDialogTest::rowDefaults_data() {
    QTest::addColumn<QString>("stTuki");
    QTest::addColumn<QString>("stShuu");
    QTest::addColumn<QStringList>("weeks"); // month/week of rows 1 to 6

    QTest::newRow("5月3週") << "5"
                            << "3" << QStringList{"5/1", "5/1", "5/3", "5/2", "5/3", "5/3"};
    QTest::newRow("5月2週") << "5"
                            << "2" << QStringList{"4/5", "4/5", "5/2", "5/1", "5/2", "5/2"};
    QTest::newRow("1月1週") << "1"
                            << "1" << QStringList{"12/4", "12/4", "1/1", "12/5", "1/1", "1/1"};
}

void QuoteDialogTest::rowDefaults() {
    QFETCH(QString, stTuki);
    QFETCH(QString, stShuu);
    QFETCH(QStringList, weeks);

    TForm13 dialog(*m_platform, entry("トマト", stTuki, stShuu), *m_tasks);
    const QStringList taskNames{"畝の準備", "種を購入", "苗作り", "苗を購入", "種まき", "植え付け"};
    for (int row = 1; row <= 6; ++row) {
        QCOMPARE(part<QLineEdit>(dialog, "quoteName", row)->text(), taskNames[row - 1]);
        const QString week = part<QComboBox>(dialog, "quoteMonth", row)->currentText() + QLatin1Char('/') +
                             part<QComboBox>(dialog, "quoteWeek", row)->currentText();
        QCOMPARE(week, weeks[row - 1]);
        QCOMPARE(part<QLineEdit>(dialog, "quoteNote", row)->text(), QStringLiteral("トマト"));
        QVERIFY(!part<QCheckBox>(dialog, "quoteCheck", row)->isChecked());
    }
}

void QuoteDialogTest::rowPartsFollowTheirTick() {
    TForm13 dialog(*m_platform, entry("トマト", "5", "3"), *m_tasks);
    dialog.show();
    auto partsEnabled = [&](int row) {
        return part<QLineEdit>(dialog, "quoteName", row)->isEnabled() &&
               part<QComboBox>(dialog, "quoteMonth", row)->isEnabled() &&
               part<QComboBox>(dialog, "quoteWeek", row)->isEnabled() &&
               part<QLineEdit>(dialog, "quoteNote", row)->isEnabled();
    };
    auto partsDisabled = [&](int row) {
        return !part<QLineEdit>(dialog, "quoteName", row)->isEnabled() &&
               !part<QComboBox>(dialog, "quoteMonth", row)->isEnabled() &&
               !part<QComboBox>(dialog, "quoteWeek", row)->isEnabled() &&
               !part<QLineEdit>(dialog, "quoteNote", row)->isEnabled();
    };
    for (int row = 1; row <= 6; ++row)
        QVERIFY(partsDisabled(row));
    tick(dialog, 3);
    QVERIFY(partsEnabled(3));
    QVERIFY(partsDisabled(2));
    QVERIFY(partsDisabled(4));
    tick(dialog, 3);
    QVERIFY(partsDisabled(3));
}

void QuoteDialogTest::nothingTickedIsRefused() {
    TForm13 dialog(*m_platform, entry("トマト", "5", "3"), *m_tasks);
    dialog.show();
    clickOk(dialog);
    QCOMPARE(m_platform->messages, QStringList{"追加する予定にチェックを付けてください。"});
    QVERIFY(dialog.isVisible());
    QCOMPARE(m_tasks->count(), 0);
}

void QuoteDialogTest::emptiedNameStopsEveryAddition() {
    TForm13 dialog(*m_platform, entry("トマト", "5", "3"), *m_tasks);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    tick(dialog, 1);
    tick(dialog, 4);
    tick(dialog, 6);
    part<QLineEdit>(dialog, "quoteName", 4)->clear();
    part<QLineEdit>(dialog, "quoteName", 6)->clear();
    clickOk(dialog);
    QCOMPARE(m_platform->messages, QStringList{"予定を入力してください。"});
    QCOMPARE(QApplication::focusWidget(), part<QLineEdit>(dialog, "quoteName", 4));
    QVERIFY(dialog.isVisible());
    QCOMPARE(m_tasks->count(), 0);
    QVERIFY(!QFile::exists(m_platform->dataFolder() + kYoteiFileName));
}

void QuoteDialogTest::addsTickedRowsInOrderThenSorts() {
    fill(*m_tasks, {{"前", "4", "4", "", {}}, {"後", "5", "3", "", {}}});
    TForm13 dialog(*m_platform, entry("トマト", "5", "3"), *m_tasks);
    dialog.show();
    tick(dialog, 5);
    tick(dialog, 2);
    clickOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(m_platform->messages.isEmpty());
    // 種を購入 (5月1週) is appended before 種まき (5月3週); the sort keeps 種まき after 後.
    QCOMPARE(names(*m_tasks), (QStringList{"前", "種を購入", "後", "種まき"}));
    const TYotei* bought = m_tasks->at(1);
    QCOMPARE(bought->tuki, QStringLiteral("5"));
    QCOMPARE(bought->shuu, QStringLiteral("1"));
    QCOMPARE(bought->note, QStringList{"トマト"});
    QCOMPARE(bought->state, kYoteiAdded);
    QCOMPARE(m_tasks->at(3)->state, kYoteiAdded);
    QCOMPARE(names(*reread(m_platform->dataFolder())), names(*m_tasks));
}

void QuoteDialogTest::takesEditedRowsAsTyped() {
    TForm13 dialog(*m_platform, entry("トマト", "5", "3"), *m_tasks);
    dialog.show();
    tick(dialog, 1);
    part<QLineEdit>(dialog, "quoteName", 1)->setText(QStringLiteral("畝立て"));
    part<QComboBox>(dialog, "quoteMonth", 1)->setCurrentIndex(2);
    part<QComboBox>(dialog, "quoteWeek", 1)->setCurrentIndex(3);
    part<QLineEdit>(dialog, "quoteNote", 1)->clear();
    clickOk(dialog);
    QCOMPARE(m_tasks->count(), 1);
    const TYotei* task = m_tasks->at(0);
    QCOMPARE(task->name, QStringLiteral("畝立て"));
    QCOMPARE(task->tuki, QStringLiteral("3"));
    QCOMPARE(task->shuu, QStringLiteral("4"));
    QVERIFY(task->note.isEmpty());
}

void QuoteDialogTest::uncheckedRowsAreIgnored() {
    TForm13 dialog(*m_platform, entry("トマト", "5", "3"), *m_tasks);
    dialog.show();
    part<QLineEdit>(dialog, "quoteName", 2)->setText(QString());
    tick(dialog, 3);
    clickOk(dialog);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(names(*m_tasks), QStringList{"苗作り"});
}

void QuoteDialogTest::cancelAddsNothing() {
    TForm13 dialog(*m_platform, entry("トマト", "5", "3"), *m_tasks);
    dialog.show();
    tick(dialog, 1);
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cancelButton")), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(m_tasks->count(), 0);
    QVERIFY(!QFile::exists(m_platform->dataFolder() + kYoteiFileName));
}

QTEST_MAIN(QuoteDialogTest)
#include "quote_dialog_test.moc"
