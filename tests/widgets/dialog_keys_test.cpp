#include "every_dialog.h"
#include "widgets/lines_edit.h"
#include "widgets/suji_edit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

using usability::child;
using usability::EveryDialog;

namespace {

// Changes one input of the dialog as the gardener would; false for a dialog
// that has nothing to type into (pick lists, merge report, list of groups).
bool changeAnInput(QDialog& dialog) {
    if (auto* combo = dialog.findChild<QComboBox*>("nameCombo")) {
        combo->setEditText(QStringLiteral("苗を購入"));
        return true;
    }
    if (auto* check = dialog.findChild<QCheckBox*>("quoteCheck1")) {
        check->setChecked(true);
        return true;
    }
    if (auto* month = dialog.findChild<QComboBox*>("stTukiCombo")) {
        month->setCurrentIndex(month->currentIndex() == 2 ? 3 : 2);
        return true;
    }
    for (const char* name :
         {"nameEdit", "stEdit", "groupNameEdit", "newNameEdit", "yearEdit", "imageCaptionEdit"})
        if (auto* field = dialog.findChild<QLineEdit*>(name)) {
            field->setText(field->text() + QStringLiteral("1"));
            return true;
        }
    return false;
}

QStringList withInputs() {
    QStringList captions;
    for (const QString& caption : EveryDialog::captions()) {
        EveryDialog notebook;
        if (changeAnInput(*notebook.open(caption)))
            captions << caption;
    }
    return captions;
}

QWidget* focused(QDialog& dialog) {
    QWidget* focus = QApplication::focusWidget();
    return focus && focus->window() == &dialog ? focus : &dialog;
}

} // namespace

// Enter and Escape behave alike in every dialog: Enter is OK (or presses the
// button that has the focus), Escape, キャンセル and the close box cancel, and
// typed changes are never thrown away without asking.
class DialogKeysTest : public QObject {
    Q_OBJECT

private slots:
    void enterPressesOk_data();
    void enterPressesOk();
    void enterOnAButtonPressesThatButton();
    void enterInANoteStartsALineAndCtrlEnterIsOk_data();
    void enterInANoteStartsALineAndCtrlEnterIsOk();
    void escapeCancelsAnUntouchedDialog_data();
    void escapeCancelsAnUntouchedDialog();
    void escapeAsksBeforeDroppingAChange_data();
    void escapeAsksBeforeDroppingAChange();
    void everyWayOfCancellingAsks_data();
    void everyWayOfCancellingAsks();
    void aChangeTakenBackIsNoChange();
    void okNeverAsks();
    void everyDialogHasTheTabsFont_data();
    void everyDialogHasTheTabsFont();

private:
    QStringList m_withInputs;
};

void DialogKeysTest::enterPressesOk_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("key");
    for (const QString& caption : EveryDialog::captions())
        if (EveryDialog::hasOk(caption)) {
            QTest::addRow("%s Enter", qPrintable(caption)) << caption << int(Qt::Key_Return);
            QTest::addRow("%s keypad Enter", qPrintable(caption)) << caption << int(Qt::Key_Enter);
        }
}

// From the control that has the focus when the dialog comes up: a text
// field, a numeric field, a drop-down list or a check-mark list.
void DialogKeysTest::enterPressesOk() {
    QFETCH(QString, caption);
    QFETCH(int, key);
    EveryDialog notebook;
    auto dialog = notebook.open(caption);
    QVERIFY(EveryDialog::showActive(*dialog));
    QWidget* focus = focused(*dialog);
    QVERIFY2(!qobject_cast<QPushButton*>(focus), qPrintable(focus->objectName()));
    QSignalSpy ok(child<QPushButton>(*dialog, "okButton"), &QPushButton::clicked);
    const Qt::KeyboardModifiers keypad = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    QTest::keyClick(focus, Qt::Key(key), keypad);
    QCOMPARE(ok.count(), 1);
    QVERIFY(notebook.platform.questions.isEmpty());
}

void DialogKeysTest::enterOnAButtonPressesThatButton() {
    EveryDialog notebook;
    auto dialog = notebook.open("購入");
    QVERIFY(EveryDialog::showActive(*dialog));
    QSignalSpy ok(child<QPushButton>(*dialog, "okButton"), &QPushButton::clicked);
    auto* cancel = child<QPushButton>(*dialog, "cancelButton");
    cancel->setFocus();
    QTest::keyClick(cancel, Qt::Key_Return);
    QCOMPARE(ok.count(), 0);
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QVERIFY(!dialog->isVisible());

    auto again = notebook.open("購入");
    QVERIFY(EveryDialog::showActive(*again));
    QSignalSpy okAgain(child<QPushButton>(*again, "okButton"), &QPushButton::clicked);
    auto* add = child<QPushButton>(*again, "lineAddButton");
    add->setFocus();
    bool lineOpened = false;
    QTimer::singleShot(0, [&lineOpened] {
        if (auto* line = qobject_cast<TForm16*>(QApplication::activeModalWidget())) {
            lineOpened = true;
            line->reject();
        }
    });
    QTest::keyClick(add, Qt::Key_Return);
    QVERIFY(lineOpened);
    QCOMPARE(okAgain.count(), 0);
}

void DialogKeysTest::enterInANoteStartsALineAndCtrlEnterIsOk_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("note");
    QTest::newRow("作物 栽培メモ") << "作物"
                                   << "memoEdit";
    QTest::newRow("予定 ノート") << "予定"
                                 << "noteEdit";
}

void DialogKeysTest::enterInANoteStartsALineAndCtrlEnterIsOk() {
    QFETCH(QString, caption);
    QFETCH(QString, note);
    EveryDialog notebook;
    auto dialog = notebook.open(caption);
    QVERIFY(EveryDialog::showActive(*dialog));
    auto* box = dialog->findChild<LinesEdit*>(note);
    QSignalSpy ok(child<QPushButton>(*dialog, "okButton"), &QPushButton::clicked);
    box->setFocus();
    QTest::keyClicks(box, "a");
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, "b");
    QCOMPARE(box->lines(), QStringList({"a", "b"}));
    QCOMPARE(ok.count(), 0);
    QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(ok.count(), 1);
    QCOMPARE(box->lines(), QStringList({"a", "b"}));
}

void DialogKeysTest::escapeCancelsAnUntouchedDialog_data() {
    QTest::addColumn<QString>("caption");
    for (const QString& caption : EveryDialog::captions())
        QTest::newRow(qPrintable(caption)) << caption;
}

void DialogKeysTest::escapeCancelsAnUntouchedDialog() {
    QFETCH(QString, caption);
    EveryDialog notebook;
    auto dialog = notebook.open(caption);
    QVERIFY(EveryDialog::showActive(*dialog));
    QTest::keyClick(focused(*dialog), Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QVERIFY(notebook.platform.allShown().isEmpty());
}

void DialogKeysTest::escapeAsksBeforeDroppingAChange_data() {
    QTest::addColumn<QString>("caption");
    if (m_withInputs.isEmpty())
        m_withInputs = withInputs();
    QCOMPARE(m_withInputs,
             QStringList({"作物", "栽培時期", "作付計画へ追加", "作付計画の変更", "グループ", "計画名変更",
                          "予定", "簡単予定追加", "購入", "購入内容", "URL登録", "設定"}));
    for (const QString& caption : m_withInputs)
        QTest::newRow(qPrintable(caption)) << caption;
}

void DialogKeysTest::escapeAsksBeforeDroppingAChange() {
    QFETCH(QString, caption);
    EveryDialog notebook;
    auto dialog = notebook.open(caption);
    QVERIFY(EveryDialog::showActive(*dialog));
    QVERIFY(changeAnInput(*dialog));
    notebook.platform.answers << false << true;
    QTest::keyClick(focused(*dialog), Qt::Key_Escape);
    QCOMPARE(notebook.platform.questions, QStringList({FormDialog::kDiscardQuestion}));
    QVERIFY(dialog->isVisible());
    QTest::keyClick(focused(*dialog), Qt::Key_Escape);
    QCOMPARE(notebook.platform.questions.size(), 2);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
}

void DialogKeysTest::everyWayOfCancellingAsks_data() {
    QTest::addColumn<QString>("way");
    QTest::newRow("Escape") << "Escape";
    QTest::newRow("キャンセル") << "click";
    QTest::newRow("Enter on キャンセル") << "enter";
    QTest::newRow("close box") << "close";
}

// The issue's own case: a crop name and a two-line note typed into 作物（追加）.
void DialogKeysTest::everyWayOfCancellingAsks() {
    QFETCH(QString, way);
    EveryDialog notebook;
    auto dialog = notebook.open("作物");
    QVERIFY(EveryDialog::showActive(*dialog));
    auto* name = child<QLineEdit>(*dialog, "nameEdit");
    QTest::keyClicks(name, "Tomato");
    auto* memo = child<LinesEdit>(*dialog, "memoEdit");
    memo->setPlainText(QStringLiteral("一行目\n二行目"));
    auto* cancel = child<QPushButton>(*dialog, "cancelButton");
    const auto cancelOnce = [&] {
        if (way == "Escape") {
            QTest::keyClick(focused(*dialog), Qt::Key_Escape);
        } else if (way == "click") {
            QTest::mouseClick(cancel, Qt::LeftButton);
        } else if (way == "enter") {
            cancel->setFocus();
            QTest::keyClick(cancel, Qt::Key_Return);
        } else {
            // The close box reaches the dialog as a close request.
            dialog->close();
        }
    };
    notebook.platform.answers << false << true;
    cancelOnce();
    QVERIFY(dialog->isVisible());
    QCOMPARE(name->text(), QStringLiteral("Tomato"));
    QCOMPARE(memo->lines(), QStringList({"一行目", "二行目"}));
    cancelOnce();
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QCOMPARE(notebook.platform.questions,
             QStringList({FormDialog::kDiscardQuestion, FormDialog::kDiscardQuestion}));
    QCOMPARE(notebook.crops.count(), 2);
}

void DialogKeysTest::aChangeTakenBackIsNoChange() {
    EveryDialog notebook;
    auto dialog = notebook.open("購入内容");
    QVERIFY(EveryDialog::showActive(*dialog));
    auto* amount = child<Sujiin>(*dialog, "kingakuEdit");
    amount->setFocus();
    QTest::keyClicks(amount, "12");
    QTest::keyClick(amount, Qt::Key_Backspace);
    QTest::keyClick(amount, Qt::Key_Backspace);
    QTest::keyClick(amount, Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
    QVERIFY(notebook.platform.questions.isEmpty());
}

void DialogKeysTest::okNeverAsks() {
    EveryDialog notebook;
    auto dialog = notebook.open("URL登録");
    QVERIFY(EveryDialog::showActive(*dialog));
    auto* name = child<QLineEdit>(*dialog, "nameEdit");
    name->setFocus();
    QTest::keyClicks(name, "yasai");
    QTest::keyClick(name, Qt::Key_Return);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QVERIFY(notebook.platform.allShown().isEmpty());
    QCOMPARE(notebook.favourites.count(), 2);
    QCOMPARE(notebook.favourites.at(1)->name, QStringLiteral("yasai"));
}

void DialogKeysTest::everyDialogHasTheTabsFont_data() {
    escapeCancelsAnUntouchedDialog_data();
}

// The tabs' 10 points (the application's own font is 8), also in 購入 and 購入内容.
void DialogKeysTest::everyDialogHasTheTabsFont() {
    QFETCH(QString, caption);
    EveryDialog notebook;
    auto dialog = notebook.open(caption);
    QCOMPARE(dialog->font().pointSize(), 10);
    const auto* cancel = dialog->findChild<QPushButton*>("cancelButton");
    QVERIFY(!cancel || cancel->font().pointSize() == 10);
}

QTEST_MAIN(DialogKeysTest)
#include "dialog_keys_test.moc"
