#include "crops/crop_dialog.h"
#include "crops/period_dialog.h"
#include "support/scripted_platform.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The period dialog on a working list of periods.
class PeriodDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init();

    void hasCaptionAndSizeInBothModes();
    void showsTheLabels();
    void refusesEmptyStart();
    void addAppendsAPeriodWithEmptyEnd();
    void changeShowsAndRewritesThePeriod();
    void cancelLeavesTheListAlone();
    void tabRunsLeftRightOkCancel();

private:
    QLineEdit* edit(QWidget* dialog, const char* name) const {
        return dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
    }
    void click(QWidget* dialog, const char* name) const {
        QTest::mouseClick(dialog->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    }

    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TJikiList> m_periods;
};

void PeriodDialogTest::init() {
    m_platform = std::make_unique<ScriptedPlatform>(QStringLiteral("/nonexistent/"));
    m_periods = std::make_unique<TJikiList>();
    TJiki* period = m_periods->add();
    period->st = QStringLiteral("3月下旬");
    period->ed = QStringLiteral("5月上旬");
}

void PeriodDialogTest::hasCaptionAndSizeInBothModes() {
    TForm8 add(*m_platform, TForm2::ModeAdd, *m_periods, nullptr);
    add.show();
    TForm8 change(*m_platform, TForm2::ModeChange, *m_periods, m_periods->at(0));
    change.show();
    for (TForm8* dialog : {&add, &change}) {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("栽培時期"));
        QCOMPARE(dialog->size(), QSize(329, 133));
        QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
    }
}

void PeriodDialogTest::showsTheLabels() {
    TForm8 dialog(*m_platform, TForm2::ModeAdd, *m_periods, nullptr);
    dialog.show();
    QStringList texts;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    QVERIFY(texts.contains(QStringLiteral("～")));
    QVERIFY(texts.contains(QStringLiteral("種まきや収穫など")));
    QVERIFY(texts.contains(QStringLiteral("収穫")));
    QVERIFY(edit(&dialog, "stEdit")->geometry().right() < edit(&dialog, "edEdit")->geometry().left());
}

void PeriodDialogTest::refusesEmptyStart() {
    TForm8 dialog(*m_platform, TForm2::ModeAdd, *m_periods, nullptr);
    dialog.show();
    edit(&dialog, "edEdit")->setText(QStringLiteral("6月"));
    edit(&dialog, "edEdit")->setFocus();
    click(&dialog, "okButton");
    QCOMPARE(m_platform->messages, QStringList({QStringLiteral("栽培時期を入力してください。")}));
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.focusWidget(), edit(&dialog, "stEdit"));
    QCOMPARE(m_periods->count(), 1);
}

void PeriodDialogTest::addAppendsAPeriodWithEmptyEnd() {
    TForm8 dialog(*m_platform, TForm2::ModeAdd, *m_periods, nullptr);
    dialog.show();
    QCOMPARE(edit(&dialog, "stEdit")->text(), QString());
    edit(&dialog, "stEdit")->setText(QStringLiteral("9月"));
    click(&dialog, "okButton");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(m_periods->count(), 2);
    QCOMPARE(PeriodText(*m_periods->at(1)), QStringLiteral("9月～"));
    QCOMPARE(m_platform->messages, QStringList());
}

void PeriodDialogTest::changeShowsAndRewritesThePeriod() {
    TForm8 dialog(*m_platform, TForm2::ModeChange, *m_periods, m_periods->at(0));
    dialog.show();
    QCOMPARE(edit(&dialog, "stEdit")->text(), QStringLiteral("3月下旬"));
    QCOMPARE(edit(&dialog, "edEdit")->text(), QStringLiteral("5月上旬"));
    edit(&dialog, "edEdit")->clear();
    click(&dialog, "okButton");
    QCOMPARE(m_periods->count(), 1);
    QCOMPARE(PeriodText(*m_periods->at(0)), QStringLiteral("3月下旬～"));
}

void PeriodDialogTest::cancelLeavesTheListAlone() {
    TForm8 dialog(*m_platform, TForm2::ModeChange, *m_periods, m_periods->at(0));
    dialog.show();
    edit(&dialog, "stEdit")->setText(QStringLiteral("4月"));
    click(&dialog, "cancelButton");
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(PeriodText(*m_periods->at(0)), QStringLiteral("3月下旬～5月上旬"));
}

void PeriodDialogTest::tabRunsLeftRightOkCancel() {
    TForm8 dialog(*m_platform, TForm2::ModeAdd, *m_periods, nullptr);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    edit(&dialog, "stEdit")->setFocus();
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, QStringList({"stEdit", "edEdit", "okButton", "cancelButton"}));
}

QTEST_MAIN(PeriodDialogTest)
#include "period_dialog_test.moc"
