#include "crops/crop_dialog.h"
#include "crops/period_dialog.h"
#include "store/messages.h"
#include "support/modal.h"
#include "support/placement.h"
#include "support/scripted_platform.h"
#include "support/text_box.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using testsupport::whenModal;

// The crop dialog filled and confirmed through its own fields and buttons.
class CropDialogTest : public QObject {
    Q_OBJECT

private slots:
    void init();

    void captionShowsTheMode();
    void hasTheFixedLayout();
    void numberFieldsTurnTheInputMethodOff();
    void tabRunsThroughTheFieldsInOrder();
    void changeModeShowsTheCrop();
    void addAppendsTheCropAndSaves();
    void checksRunInOrder_data();
    void checksRunInOrder();
    void unchangedNameKeepsNameChangedFalse();
    void renameSetsNameChanged();
    void renameToExistingCropIsRefused();
    void savesEvenWhenNothingChanged();
    void cancelLeavesCropAndFileUntouched();
    void periodWithoutEndShowsTilde();
    void refusesSixthPeriod();
    void periodChangeEditsTheWorkingCopy();
    void periodCommandsNeedASelection();
    void templateInsertsNineLinesAboveTheNotes();
    void templateTwiceGivesEighteenLines();
    void templateOnEmptyNotesGivesNineLines();
    void failedSaveStillClosesWithTheCropAdded();
    void unchangedMemoKeepsTheFileThroughOks_data();
    void unchangedMemoKeepsTheFileThroughOks();
    void periodDialogIsCentredOnTheMainWindow();

private:
    QLineEdit* edit(QWidget* dialog, const char* name) const;
    void click(QWidget* dialog, const char* name) const;
    void addPeriod(TForm2& dialog, const QString& st, const QString& ed);
    QString file() const { return m_dir.path() + "/sakumotu.xml"; }
    QByteArray fileBytes() const;

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TSakumotuList> m_crops;
    TSakumotu* m_tomato = nullptr;
};

void CropDialogTest::init() {
    QVERIFY(m_dir.isValid());
    QFile::remove(file());
    m_platform = std::make_unique<ScriptedPlatform>(m_dir.path() + "/");
    m_crops = std::make_unique<TSakumotuList>();
    m_crops->add()->name = kDummyCropName;
    m_tomato = m_crops->add();
    m_tomato->name = QStringLiteral("トマト");
    m_tomato->kamoku = QStringLiteral("ナス科ナス属");
    m_tomato->okiniiri1 = QStringLiteral("桃太郎");
    m_tomato->okiniiri2 = QStringLiteral("麗夏");
    m_tomato->joukan = "60";
    m_tomato->kabukan1 = "45";
    m_tomato->kabukan2 = "";
    TJiki* period = m_tomato->jiki.add();
    period->st = QStringLiteral("4月下旬");
    period->ed = QStringLiteral("5月上旬");
    period = m_tomato->jiki.add();
    period->st = QStringLiteral("6月");
    m_tomato->memo = QStringList({QStringLiteral("支柱を立てる"), QString(), QStringLiteral("脇芽かき")});
    m_crops->add()->name = QStringLiteral("ミニトマト");
}

QLineEdit* CropDialogTest::edit(QWidget* dialog, const char* name) const {
    auto* field = dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
    Q_ASSERT(field);
    return field;
}

void CropDialogTest::click(QWidget* dialog, const char* name) const {
    auto* button = dialog->findChild<QPushButton*>(QString::fromLatin1(name));
    Q_ASSERT(button);
    QTest::mouseClick(button, Qt::LeftButton);
}

QByteArray CropDialogTest::fileBytes() const {
    QFile f(file());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void CropDialogTest::addPeriod(TForm2& dialog, const QString& st, const QString& ed) {
    whenModal<TForm8>([this, st, ed](TForm8* period) {
        edit(period, "stEdit")->setText(st);
        edit(period, "edEdit")->setText(ed);
        click(period, "okButton");
    });
    click(&dialog, "periodAddButton");
}

void CropDialogTest::captionShowsTheMode() {
    TForm2 add(*m_platform, TForm2::ModeAdd, *m_crops, nullptr);
    add.show();
    QCOMPARE(add.windowTitle(), QStringLiteral("作物（追加）"));
    TForm2 change(*m_platform, TForm2::ModeChange, *m_crops, m_tomato);
    change.show();
    QCOMPARE(change.windowTitle(), QStringLiteral("作物（変更）"));
}

void CropDialogTest::hasTheFixedLayout() {
    TForm2 dialog(*m_platform, TForm2::ModeAdd, *m_crops, nullptr);
    dialog.show();
    QCOMPARE(dialog.size(), QSize(435, 523));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QCOMPARE(dialog.findChild<QListWidget*>("periodList")->height(), 72);
    auto* memo = dialog.findChild<QPlainTextEdit*>("memoEdit");
    QCOMPARE(memo->height(), 164);
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(dialog.font().pointSize(), 10);
    // Every control lies inside the dialog.
    for (QWidget* child : dialog.findChildren<QWidget*>())
        if (child->isVisible() && child->parentWidget() == &dialog)
            QVERIFY2(dialog.rect().contains(child->geometry()), qPrintable(child->objectName()));
    const QRect template_ = dialog.findChild<QPushButton*>("templateButton")->geometry();
    QVERIFY(template_.top() >= memo->geometry().bottom());
    QCOMPARE(template_.right(), memo->geometry().right());
}

void CropDialogTest::numberFieldsTurnTheInputMethodOff() {
    TForm2 dialog(*m_platform, TForm2::ModeAdd, *m_crops, nullptr);
    for (const char* name : {"joukanEdit", "kabukan1Edit", "kabukan2Edit"})
        QVERIFY2(!edit(&dialog, name)->testAttribute(Qt::WA_InputMethodEnabled), name);
    for (const char* name : {"nameEdit", "kamokuEdit", "okiniiri1Edit", "okiniiri2Edit"})
        QVERIFY2(edit(&dialog, name)->testAttribute(Qt::WA_InputMethodEnabled), name);
    QVERIFY(dialog.findChild<QPlainTextEdit*>("memoEdit")->testAttribute(Qt::WA_InputMethodEnabled));
}

void CropDialogTest::tabRunsThroughTheFieldsInOrder() {
    TForm2 dialog(*m_platform, TForm2::ModeAdd, *m_crops, nullptr);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    edit(&dialog, "nameEdit")->setFocus();
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 10; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, QStringList({"nameEdit", "kamokuEdit", "okiniiri1Edit", "okiniiri2Edit", "periodList",
                                   "joukanEdit", "kabukan1Edit", "kabukan2Edit", "memoEdit", "okButton",
                                   "cancelButton"}));
    for (const char* name : {"periodAddButton", "periodChangeButton", "periodDeleteButton", "templateButton"})
        QVERIFY2(!(dialog.findChild<QPushButton*>(name)->focusPolicy() & Qt::TabFocus), name);
}

void CropDialogTest::changeModeShowsTheCrop() {
    TForm2 dialog(*m_platform, TForm2::ModeChange, *m_crops, m_tomato);
    dialog.show();
    QCOMPARE(edit(&dialog, "nameEdit")->text(), QStringLiteral("トマト"));
    QCOMPARE(edit(&dialog, "kamokuEdit")->text(), QStringLiteral("ナス科ナス属"));
    QCOMPARE(edit(&dialog, "okiniiri1Edit")->text(), QStringLiteral("桃太郎"));
    QCOMPARE(edit(&dialog, "okiniiri2Edit")->text(), QStringLiteral("麗夏"));
    QCOMPARE(edit(&dialog, "joukanEdit")->text(), QStringLiteral("60"));
    QCOMPARE(edit(&dialog, "kabukan1Edit")->text(), QStringLiteral("45"));
    QCOMPARE(edit(&dialog, "kabukan2Edit")->text(), QString());
    auto* periods = dialog.findChild<QListWidget*>("periodList");
    QCOMPARE(periods->count(), 2);
    QCOMPARE(periods->item(0)->text(), QStringLiteral("4月下旬～5月上旬"));
    QCOMPARE(dialog.findChild<QPlainTextEdit*>("memoEdit")->toPlainText(),
             QStringLiteral("支柱を立てる\n\n脇芽かき"));
}

void CropDialogTest::addAppendsTheCropAndSaves() {
    TForm2 dialog(*m_platform, TForm2::ModeAdd, *m_crops, nullptr);
    dialog.show();
    edit(&dialog, "nameEdit")->setText(QStringLiteral("ナス"));
    edit(&dialog, "kamokuEdit")->setText(QStringLiteral("ナス科ナス属"));
    edit(&dialog, "okiniiri1Edit")->setText(QStringLiteral("千両2号"));
    addPeriod(dialog, QStringLiteral("5月上旬"), QStringLiteral("10月"));
    QTest::keyClicks(edit(&dialog, "joukanEdit"), "60");
    QTest::keyClicks(edit(&dialog, "kabukan1Edit"), "50");
    QTest::keyClicks(edit(&dialog, "kabukan2Edit"), "0x28");
    dialog.findChild<QPlainTextEdit*>("memoEdit")->setPlainText(QStringLiteral("一番花を摘む\n更新剪定"));
    click(&dialog, "okButton");

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(m_crops->count(), 4);
    TSakumotu* added = m_crops->at(3);
    QCOMPARE(dialog.crop(), added);
    QVERIFY(!dialog.nameChanged());
    QCOMPARE(added->name, QStringLiteral("ナス"));
    QCOMPARE(added->okiniiri2, QString());
    QCOMPARE(added->kabukan2, QStringLiteral("0x28"));
    QCOMPARE(PeriodsText(added->jiki), QStringLiteral("5月上旬～10月"));
    QCOMPARE(added->memo, QStringList({QStringLiteral("一番花を摘む"), QStringLiteral("更新剪定")}));
    QCOMPARE(m_platform->messages, QStringList());

    TSakumotuList reread;
    QVERIFY(reread.LoadFromFile(m_dir.path() + "/", *m_platform));
    QCOMPARE(reread.count(), 3);
    QCOMPARE(reread.at(2)->name, QStringLiteral("ナス"));
    QCOMPARE(reread.at(2)->SpacingText(), QStringLiteral("条間60cmで、株間50（または0x28）cm"));
}

void CropDialogTest::checksRunInOrder_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("joukan");
    QTest::addColumn<QString>("kabukan1");
    QTest::addColumn<QString>("kabukan2");
    QTest::addColumn<QString>("message"); // empty: every check passes
    QTest::addColumn<QString>("focus");

    const QString noName = QStringLiteral("作物名を入力してください。");
    const QString badRows = QStringLiteral("列の間隔は整数のみ入力してください。");
    const QString badPlants = QStringLiteral("株の間隔は整数のみ入力してください。");
    const QString exists = QStringLiteral("すでに存在する作物名が入力されています。");
    const QString tomato = QStringLiteral("トマト");

    QTest::newRow("all fine") << "ナス"
                              << "60"
                              << "45"
                              << "30"
                              << ""
                              << "";
    QTest::newRow("empty name") << ""
                                << "60"
                                << "45"
                                << "" << noName << "nameEdit";
    QTest::newRow("blank name passes") << "  "
                                       << ""
                                       << ""
                                       << ""
                                       << ""
                                       << "";
    QTest::newRow("row spacing 6O") << "ナス"
                                    << "6O"
                                    << ""
                                    << "" << badRows << "joukanEdit";
    QTest::newRow("plant spacing x") << "ナス"
                                     << ""
                                     << "x"
                                     << "" << badPlants << "kabukan1Edit";
    QTest::newRow("alternative 3 0") << "ナス"
                                     << ""
                                     << "45"
                                     << "3 0" << badPlants << "kabukan1Edit";
    QTest::newRow("only alternative set") << "ナス"
                                          << ""
                                          << ""
                                          << "30"
                                          << ""
                                          << "";
    QTest::newRow("hex and sign") << "ナス"
                                  << " -$1F"
                                  << "+7"
                                  << "0x10"
                                  << ""
                                  << "";
    QTest::newRow("out of range") << "ナス"
                                  << "2147483648"
                                  << ""
                                  << "" << badRows << "joukanEdit";
    QTest::newRow("duplicate") << tomato << "60"
                               << "45"
                               << "" << exists << "nameEdit";
    QTest::newRow("dummy name") << kDummyCropName << ""
                                << ""
                                << "" << exists << "nameEdit";
    QTest::newRow("leading blank differs") << QStringLiteral(" トマト") << ""
                                           << ""
                                           << ""
                                           << ""
                                           << "";
    QTest::newRow("name before rows") << ""
                                      << "6O"
                                      << "x"
                                      << "" << noName << "nameEdit";
    QTest::newRow("rows before plants") << "ナス"
                                        << "6O"
                                        << "x"
                                        << "" << badRows << "joukanEdit";
    QTest::newRow("plants before duplicate") << tomato << ""
                                             << "x"
                                             << "" << badPlants << "kabukan1Edit";
}

void CropDialogTest::checksRunInOrder() {
    QFETCH(QString, name);
    QFETCH(QString, joukan);
    QFETCH(QString, kabukan1);
    QFETCH(QString, kabukan2);
    QFETCH(QString, message);
    QFETCH(QString, focus);

    TForm2 dialog(*m_platform, TForm2::ModeAdd, *m_crops, nullptr);
    dialog.show();
    edit(&dialog, "nameEdit")->setText(name);
    edit(&dialog, "joukanEdit")->setText(joukan);
    edit(&dialog, "kabukan1Edit")->setText(kabukan1);
    edit(&dialog, "kabukan2Edit")->setText(kabukan2);
    edit(&dialog, "kamokuEdit")->setFocus();
    click(&dialog, "okButton");

    if (message.isEmpty()) {
        QCOMPARE(m_platform->messages, QStringList());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(m_crops->count(), 4);
        QCOMPARE(m_crops->at(3)->name, name);
        QCOMPARE(m_crops->at(3)->kabukan2, kabukan2);
        QVERIFY(QFile::exists(file()));
        return;
    }
    QCOMPARE(m_platform->messages, QStringList({message}));
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.focusWidget()->objectName(), focus);
    QCOMPARE(m_crops->count(), 3);
    QVERIFY(!QFile::exists(file()));
}

void CropDialogTest::unchangedNameKeepsNameChangedFalse() {
    TForm2 dialog(*m_platform, TForm2::ModeChange, *m_crops, m_tomato);
    dialog.show();
    edit(&dialog, "kamokuEdit")->setText(QStringLiteral("ナス科"));
    click(&dialog, "okButton");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.nameChanged());
    QCOMPARE(dialog.crop(), m_tomato);
    QCOMPARE(m_tomato->kamoku, QStringLiteral("ナス科"));
    QCOMPARE(m_crops->count(), 3);
}

void CropDialogTest::renameSetsNameChanged() {
    TForm2 dialog(*m_platform, TForm2::ModeChange, *m_crops, m_tomato);
    dialog.show();
    edit(&dialog, "nameEdit")->setText(QStringLiteral("大玉トマト"));
    click(&dialog, "okButton");
    QVERIFY(dialog.nameChanged());
    QCOMPARE(m_tomato->name, QStringLiteral("大玉トマト"));
    QCOMPARE(PeriodsText(m_tomato->jiki), QStringLiteral("4月下旬～5月上旬、6月～"));
}

void CropDialogTest::renameToExistingCropIsRefused() {
    TForm2 dialog(*m_platform, TForm2::ModeChange, *m_crops, m_tomato);
    dialog.show();
    edit(&dialog, "nameEdit")->setText(QStringLiteral("ミニトマト"));
    click(&dialog, "okButton");
    QCOMPARE(m_platform->messages, QStringList({QStringLiteral("すでに存在する作物名が入力されています。")}));
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.focusWidget()->objectName(), QStringLiteral("nameEdit"));
    QCOMPARE(m_tomato->name, QStringLiteral("トマト"));
    QVERIFY(!dialog.nameChanged());
}

void CropDialogTest::savesEvenWhenNothingChanged() {
    TForm2 dialog(*m_platform, TForm2::ModeChange, *m_crops, m_tomato);
    dialog.show();
    click(&dialog, "okButton");
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(QFile::exists(file()));
    QVERIFY(fileBytes().contains(QByteArray("name=\"")));
}

void CropDialogTest::cancelLeavesCropAndFileUntouched() {
    QVERIFY(m_crops->SaveToFile(m_dir.path() + "/", *m_platform));
    const QByteArray before = fileBytes();
    TForm2 dialog(*m_platform, TForm2::ModeChange, *m_crops, m_tomato);
    dialog.show();
    auto* periods = dialog.findChild<QListWidget*>("periodList");
    periods->setCurrentRow(0);
    click(&dialog, "periodDeleteButton");
    QCOMPARE(periods->count(), 1);
    periods->setCurrentRow(0);
    whenModal<TForm8>([this](TForm8* period) {
        edit(period, "stEdit")->setText(QStringLiteral("7月"));
        click(period, "okButton");
    });
    click(&dialog, "periodChangeButton");
    QCOMPARE(periods->item(0)->text(), QStringLiteral("7月～"));
    edit(&dialog, "nameEdit")->setText(QStringLiteral("ナス"));
    click(&dialog, "cancelButton");

    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(m_tomato->name, QStringLiteral("トマト"));
    QCOMPARE(PeriodsText(m_tomato->jiki), QStringLiteral("4月下旬～5月上旬、6月～"));
    QCOMPARE(m_crops->count(), 3);
    QCOMPARE(fileBytes(), before);
}

void CropDialogTest::periodWithoutEndShowsTilde() {
    TForm2 dialog(*m_platform, TForm2::ModeAdd, *m_crops, nullptr);
    dialog.show();
    addPeriod(dialog, QStringLiteral("3月下旬"), QString());
    auto* periods = dialog.findChild<QListWidget*>("periodList");
    QCOMPARE(periods->count(), 1);
    QCOMPARE(periods->item(0)->text(), QStringLiteral("3月下旬～"));
}

void CropDialogTest::refusesSixthPeriod() {
    TForm2 dialog(*m_platform, TForm2::ModeAdd, *m_crops, nullptr);
    dialog.show();
    for (int i = 1; i <= 5; ++i)
        addPeriod(dialog, QStringLiteral("%1月").arg(i), QString());
    auto* periods = dialog.findChild<QListWidget*>("periodList");
    QCOMPARE(periods->count(), 5);

    bool opened = false;
    auto watcher = whenModal<TForm8>([&opened](TForm8*) { opened = true; });
    click(&dialog, "periodAddButton");
    testsupport::cancel(watcher);
    QVERIFY(!opened);
    QCOMPARE(m_platform->messages, QStringList({QStringLiteral("栽培時期の登録は5件までです。")}));
    QCOMPARE(periods->count(), 5);

    periods->setCurrentRow(2);
    click(&dialog, "periodDeleteButton");
    QCOMPARE(periods->count(), 4);
    addPeriod(dialog, QStringLiteral("9月"), QStringLiteral("10月"));
    QCOMPARE(periods->count(), 5);
    QCOMPARE(periods->item(4)->text(), QStringLiteral("9月～10月"));
    QCOMPARE(periods->item(2)->text(), QStringLiteral("4月～"));
}

void CropDialogTest::periodChangeEditsTheWorkingCopy() {
    TForm2 dialog(*m_platform, TForm2::ModeChange, *m_crops, m_tomato);
    dialog.show();
    auto* periods = dialog.findChild<QListWidget*>("periodList");
    periods->setCurrentRow(1);
    whenModal<TForm8>([this](TForm8* period) {
        QCOMPARE(edit(period, "stEdit")->text(), QStringLiteral("6月"));
        edit(period, "edEdit")->setText(QStringLiteral("8月"));
        click(period, "okButton");
    });
    click(&dialog, "periodChangeButton");
    QCOMPARE(periods->item(1)->text(), QStringLiteral("6月～8月"));
    QCOMPARE(PeriodsText(m_tomato->jiki), QStringLiteral("4月下旬～5月上旬、6月～"));
    click(&dialog, "okButton");
    QCOMPARE(PeriodsText(m_tomato->jiki), QStringLiteral("4月下旬～5月上旬、6月～8月"));
}

void CropDialogTest::periodCommandsNeedASelection() {
    TForm2 dialog(*m_platform, TForm2::ModeChange, *m_crops, m_tomato);
    dialog.show();
    click(&dialog, "periodChangeButton");
    click(&dialog, "periodDeleteButton");
    const QString choose = QStringLiteral("栽培時期を選択してください。");
    QCOMPARE(m_platform->messages, QStringList({choose, choose}));
    QCOMPARE(dialog.findChild<QListWidget*>("periodList")->count(), 2);
}

void CropDialogTest::templateInsertsNineLinesAboveTheNotes() {
    TForm2 dialog(*m_platform, TForm2::ModeChange, *m_crops, m_tomato);
    dialog.show();
    click(&dialog, "templateButton");
    click(&dialog, "okButton");
    const QStringList expected = {QStringLiteral("連作障害："),
                                  QStringLiteral("畑の準備："),
                                  QStringLiteral("種まき（植え付け）："),
                                  QStringLiteral("間引き："),
                                  QStringLiteral("追肥："),
                                  QStringLiteral("病害虫対策："),
                                  QStringLiteral("収穫時期："),
                                  QStringLiteral("収穫方法："),
                                  QStringLiteral("保存方法："),
                                  QStringLiteral("支柱を立てる"),
                                  QString(),
                                  QStringLiteral("脇芽かき")};
    QCOMPARE(m_tomato->memo, expected);
}

void CropDialogTest::templateTwiceGivesEighteenLines() {
    TForm2 dialog(*m_platform, TForm2::ModeChange, *m_crops, m_tomato);
    dialog.show();
    click(&dialog, "templateButton");
    click(&dialog, "templateButton");
    click(&dialog, "okButton");
    QCOMPARE(m_tomato->memo.size(), 21);
    QCOMPARE(m_tomato->memo.mid(0, 9), m_tomato->memo.mid(9, 9));
    QCOMPARE(m_tomato->memo.at(0), QStringLiteral("連作障害："));
    QCOMPARE(m_tomato->memo.at(17), QStringLiteral("保存方法："));
    QCOMPARE(m_tomato->memo.at(18), QStringLiteral("支柱を立てる"));
}

void CropDialogTest::templateOnEmptyNotesGivesNineLines() {
    TForm2 dialog(*m_platform, TForm2::ModeAdd, *m_crops, nullptr);
    dialog.show();
    edit(&dialog, "nameEdit")->setText(QStringLiteral("ナス"));
    click(&dialog, "templateButton");
    click(&dialog, "okButton");
    QCOMPARE(dialog.crop()->memo.size(), 9);
    QCOMPARE(dialog.crop()->memo.last(), QStringLiteral("保存方法："));
}

void CropDialogTest::failedSaveStillClosesWithTheCropAdded() {
    ScriptedPlatform missingFolder(m_dir.path() + "/missing/");
    TForm2 dialog(missingFolder, TForm2::ModeAdd, *m_crops, nullptr);
    dialog.show();
    edit(&dialog, "nameEdit")->setText(QStringLiteral("ナス"));
    click(&dialog, "okButton");
    QCOMPARE(missingFolder.messages, QStringList({QString::fromUtf8(msg::SaveFailed)}));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(m_crops->count(), 4);
    QCOMPARE(m_crops->at(3)->name, QStringLiteral("ナス"));
    QVERIFY(!QFile::exists(m_dir.path() + "/missing"));
}

void CropDialogTest::unchangedMemoKeepsTheFileThroughOks_data() {
    QTest::addColumn<QStringList>("memo");
    QTest::newRow("no empty line at the end") << QStringList{"支柱を立てる", "脇芽かき"};
    QTest::newRow("one empty line at the end") << QStringList{"支柱を立てる", ""};
    QTest::newRow("two empty lines at the end") << QStringList{"支柱を立てる", "", ""};
    QTest::newRow("line breaks inside") << QStringList{"支柱を立てる", "", "", "脇芽かき"};
    QTest::newRow("one empty line only") << QStringList{""};
}

// The box shows the note's lines, no more and no fewer, and gives them back
// unchanged however often the crop is confirmed.
void CropDialogTest::unchangedMemoKeepsTheFileThroughOks() {
    QFETCH(QStringList, memo);
    m_tomato->memo = memo;
    QVERIFY(m_crops->SaveToFile(m_dir.path() + "/", *m_platform));
    const QByteArray written = fileBytes();
    TSakumotuList reread;
    QVERIFY(reread.LoadFromFile(m_dir.path() + "/", *m_platform));
    for (int ok = 1; ok <= 3; ++ok) {
        TForm2 dialog(*m_platform, TForm2::ModeChange, reread, reread.FindByName(QStringLiteral("トマト")));
        dialog.show();
        QCOMPARE(testsupport::shownLines(*dialog.findChild<QPlainTextEdit*>("memoEdit")), memo);
        click(&dialog, "okButton");
        QCOMPARE(fileBytes(), written);
    }
}

// Opened from the crop dialog the user moved aside, it still comes up in the
// middle of the main window.
void CropDialogTest::periodDialogIsCentredOnTheMainWindow() {
    QWidget main;
    testsupport::placeMainWindow(main);
    TForm2 dialog(*m_platform, TForm2::ModeChange, *m_crops, m_tomato, &main);
    dialog.show();
    QVERIFY(testsupport::centredOn(dialog, main));
    dialog.move(main.frameGeometry().topLeft());
    bool centred = false;
    whenModal<TForm8>([&](TForm8* period) { centred = testsupport::centredOn(*period, main); });
    click(&dialog, "periodAddButton");
    QVERIFY(centred);
}

QTEST_MAIN(CropDialogTest)
#include "crop_dialog_test.moc"
