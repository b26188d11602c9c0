#include "favourites/favourite_records.h"
#include "favourites/favourites_pick_dialog.h"
#include "favourites/url_dialog.h"
#include "okini_test_support.h"
#include "support/scripted_platform.h"
#include "widgets/list_view3.h"

#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using okinitest::addOkini;

namespace {

// Japanese arrives as the input method's committed text, as it does when typed.
void typeText(QWidget* field, const QString& text) {
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(field, &event);
}

} // namespace

// URL登録 and お気に入り一覧 on their own, driven through their widgets.
class FavouriteDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void init();

    void newFavouriteStartsWithTheBareScheme();
    void changeShowsTheFavouritesFields();
    void urlDialogHasItsCaptionSizeAndHints();
    void emptyNameAsksForTheName();
    void emptyNameIsReportedBeforeEmptyAddress();
    void emptyAddressAsksForTheAddress();
    void bareSchemeIsAccepted();
    void okAppendsANewFavouriteAsTyped();
    void okChangesTheFavouriteInPlace();
    void cancelChangesNothing();
    void closingByTheFrameCancels();

    void pickDialogListsTheFavouritesUnchecked();
    void pickDialogOnEmptyListAsksToChoose();
    void pickDialogReturnsTheCheckedFavourite();

private:
    QLineEdit* edit(QWidget* dialog, const char* name) { return dialog->findChild<QLineEdit*>(name); }
    QPushButton* button(QWidget* dialog, const char* name) { return dialog->findChild<QPushButton*>(name); }
    void showActive(QWidget* dialog);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<TOkiniList> m_list;
};

void FavouriteDialogsTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_platform = std::make_unique<ScriptedPlatform>(m_dir->path() + QLatin1Char('/'));
    m_list = std::make_unique<TOkiniList>();
}

void FavouriteDialogsTest::showActive(QWidget* dialog) {
    dialog->show();
    QApplication::setActiveWindow(dialog);
    QVERIFY(QTest::qWaitForWindowActive(dialog));
}

void FavouriteDialogsTest::newFavouriteStartsWithTheBareScheme() {
    TForm18 dialog(*m_platform, *m_list, nullptr);
    QCOMPARE(edit(&dialog, "nameEdit")->text(), QString());
    QCOMPARE(edit(&dialog, "urlEdit")->text(), QStringLiteral("http://"));
    QCOMPARE(edit(&dialog, "memoEdit")->text(), QString());
}

void FavouriteDialogsTest::changeShowsTheFavouritesFields() {
    TOkini* okini = addOkini(*m_list, "野菜の会", "http://yasai.example/", "種まきの暦");
    TForm18 dialog(*m_platform, *m_list, okini);
    QCOMPARE(edit(&dialog, "nameEdit")->text(), QStringLiteral("野菜の会"));
    QCOMPARE(edit(&dialog, "urlEdit")->text(), QStringLiteral("http://yasai.example/"));
    QCOMPARE(edit(&dialog, "memoEdit")->text(), QStringLiteral("種まきの暦"));
}

void FavouriteDialogsTest::urlDialogHasItsCaptionSizeAndHints() {
    TForm18 dialog(*m_platform, *m_list, nullptr);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("URL登録"));
    QCOMPARE(dialog.size(), QSize(434, 243));
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QStringList texts;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    for (const char* text :
         {"名称", "URL", "メモ", "サイト名やブログ名など", "例）トマトの育て方について詳しく書かれている"})
        QVERIFY2(texts.contains(QString::fromUtf8(text)), text);
    QVERIFY(
        std::any_of(texts.begin(), texts.end(), [](const QString& t) { return t.startsWith("例）http"); }));
    QVERIFY(!edit(&dialog, "urlEdit")->testAttribute(Qt::WA_InputMethodEnabled));
    QVERIFY(edit(&dialog, "nameEdit")->testAttribute(Qt::WA_InputMethodEnabled));
    QVERIFY(edit(&dialog, "memoEdit")->testAttribute(Qt::WA_InputMethodEnabled));
    QCOMPARE(edit(&dialog, "nameEdit")->width(), 330);
}

void FavouriteDialogsTest::emptyNameAsksForTheName() {
    TForm18 dialog(*m_platform, *m_list, nullptr);
    showActive(&dialog);
    edit(&dialog, "memoEdit")->setFocus();
    QTest::mouseClick(button(&dialog, "okButton"), Qt::LeftButton);
    QCOMPARE(m_platform->messages, QStringList{QStringLiteral("名称を入力してください。")});
    QVERIFY(dialog.isVisible());
    QCOMPARE(QApplication::focusWidget(), edit(&dialog, "nameEdit"));
    QCOMPARE(m_list->count(), 0);
}

void FavouriteDialogsTest::emptyNameIsReportedBeforeEmptyAddress() {
    TForm18 dialog(*m_platform, *m_list, nullptr);
    showActive(&dialog);
    edit(&dialog, "urlEdit")->clear();
    QTest::mouseClick(button(&dialog, "okButton"), Qt::LeftButton);
    QCOMPARE(m_platform->messages, QStringList{QStringLiteral("名称を入力してください。")});
}

void FavouriteDialogsTest::emptyAddressAsksForTheAddress() {
    TForm18 dialog(*m_platform, *m_list, nullptr);
    showActive(&dialog);
    typeText(edit(&dialog, "nameEdit"), QStringLiteral("野菜の会"));
    edit(&dialog, "urlEdit")->clear();
    edit(&dialog, "nameEdit")->setFocus();
    QTest::mouseClick(button(&dialog, "okButton"), Qt::LeftButton);
    QCOMPARE(m_platform->messages, QStringList{QStringLiteral("URLを入力してください。")});
    QVERIFY(dialog.isVisible());
    QCOMPARE(QApplication::focusWidget(), edit(&dialog, "urlEdit"));
    QCOMPARE(m_list->count(), 0);
}

void FavouriteDialogsTest::bareSchemeIsAccepted() {
    TForm18 dialog(*m_platform, *m_list, nullptr);
    showActive(&dialog);
    typeText(edit(&dialog, "nameEdit"), QStringLiteral("家庭菜園"));
    QTest::mouseClick(button(&dialog, "okButton"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(m_platform->messages.isEmpty());
    QCOMPARE(m_list->count(), 1);
    QCOMPARE(m_list->at(0)->url, QStringLiteral("http://"));
    QCOMPARE(m_list->at(0)->memo, QString());
}

void FavouriteDialogsTest::okAppendsANewFavouriteAsTyped() {
    addOkini(*m_list, "一番目", "http://one.example/", "");
    TForm18 dialog(*m_platform, *m_list, nullptr);
    showActive(&dialog);
    typeText(edit(&dialog, "nameEdit"), QStringLiteral(" 野菜 & <花> "));
    edit(&dialog, "urlEdit")->setText(QStringLiteral("http://yasai.example/?a=1&b=2"));
    typeText(edit(&dialog, "memoEdit"), QStringLiteral("\"苗\"の話"));
    QTest::mouseClick(button(&dialog, "okButton"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(m_list->count(), 2);
    QCOMPARE(dialog.okini(), m_list->at(1));
    QCOMPARE(m_list->at(1)->name, QStringLiteral(" 野菜 & <花> "));
    QCOMPARE(m_list->at(1)->url, QStringLiteral("http://yasai.example/?a=1&b=2"));
    QCOMPARE(m_list->at(1)->memo, QStringLiteral("\"苗\"の話"));
}

void FavouriteDialogsTest::okChangesTheFavouriteInPlace() {
    addOkini(*m_list, "一番目", "http://one.example/", "");
    TOkini* okini = addOkini(*m_list, "野菜の会", "http://yasai.example/", "暦");
    addOkini(*m_list, "三番目", "http://three.example/", "");
    TForm18 dialog(*m_platform, *m_list, okini);
    showActive(&dialog);
    edit(&dialog, "nameEdit")->setText(QStringLiteral("野菜倶楽部"));
    edit(&dialog, "memoEdit")->clear();
    QTest::mouseClick(button(&dialog, "okButton"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(m_list->count(), 3);
    QCOMPARE(m_list->at(1), okini);
    QCOMPARE(okini->name, QStringLiteral("野菜倶楽部"));
    QCOMPARE(okini->url, QStringLiteral("http://yasai.example/"));
    QCOMPARE(okini->memo, QString());
}

void FavouriteDialogsTest::cancelChangesNothing() {
    TOkini* okini = addOkini(*m_list, "野菜の会", "http://yasai.example/", "暦");
    TForm18 dialog(*m_platform, *m_list, okini);
    showActive(&dialog);
    edit(&dialog, "nameEdit")->setText(QStringLiteral("別の名前"));
    QTest::mouseClick(button(&dialog, "cancelButton"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(okini->name, QStringLiteral("野菜の会"));
    QCOMPARE(m_list->count(), 1);
}

void FavouriteDialogsTest::closingByTheFrameCancels() {
    TForm18 dialog(*m_platform, *m_list, nullptr);
    showActive(&dialog);
    typeText(edit(&dialog, "nameEdit"), QStringLiteral("名前"));
    dialog.close();
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(m_list->count(), 0);
}

void FavouriteDialogsTest::pickDialogListsTheFavouritesUnchecked() {
    addOkini(*m_list, "野菜の会", "http://yasai.example/", "暦");
    addOkini(*m_list, "家庭菜園", "http://", "");
    TForm19 dialog(*m_platform, *m_list);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("お気に入り一覧"));
    QCOMPARE(dialog.size(), QSize(500, 318));
    QVERIFY(dialog.minimumSize() != dialog.maximumSize());
    TListView3* list = dialog.list();
    QCOMPARE(list->caption(1), QStringLiteral("名称"));
    QCOMPARE(list->caption(2), QStringLiteral("URL"));
    QCOMPARE(list->header()->sectionSize(0), 25);
    QCOMPARE(list->header()->sectionSize(1), 190);
    QCOMPARE(list->header()->sectionSize(2), 250);
    QCOMPARE(list->rowCount(), 2);
    QCOMPARE(list->row(0)->text(1), QStringLiteral("野菜の会"));
    QCOMPARE(list->row(0)->text(2), QStringLiteral("http://yasai.example/"));
    QCOMPARE(list->row(1)->text(1), QStringLiteral("家庭菜園"));
    QCOMPARE(list->row(1)->text(2), QStringLiteral("http://"));
    QCOMPARE(list->CheckedCount(), 0);
}

void FavouriteDialogsTest::pickDialogOnEmptyListAsksToChoose() {
    TForm19 dialog(*m_platform, *m_list);
    showActive(&dialog);
    QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
    QCOMPARE(m_platform->messages, QStringList{QStringLiteral("お気に入りを選択してください。")});
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.okini(), nullptr);
}

void FavouriteDialogsTest::pickDialogReturnsTheCheckedFavourite() {
    addOkini(*m_list, "一番目", "http://one.example/", "");
    TOkini* second = addOkini(*m_list, "二番目", "http://two.example/", "");
    TForm19 dialog(*m_platform, *m_list);
    showActive(&dialog);
    TListView3* list = dialog.list();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->row(1)).center());
    QCOMPARE(list->CheckedIndex(), 1);
    QTest::mouseClick(dialog.findChild<QPushButton*>("okButton"), Qt::LeftButton);
    QVERIFY(m_platform->messages.isEmpty());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.okini(), second);
}

QTEST_MAIN(FavouriteDialogsTest)
#include "favourite_dialogs_test.moc"
