#include "favourites/favourite_records.h"
#include "favourites/favourites_pick_dialog.h"
#include "favourites/favourites_tab.h"
#include "favourites/url_dialog.h"
#include "okini_test_support.h"
#include "store/messages.h"
#include "support/file_size_limit.h"
#include "support/scripted_platform.h"
#include "widgets/app_context.h"
#include "widgets/list_view3.h"
#include "widgets/page_view.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using okinitest::addOkini;
using okinitest::paragraphs;
using okinitest::whenModal;
using testsupport::FileSizeLimit;
using testsupport::links;

namespace {

QString saveMessage() {
    return QString::fromUtf8(msg::SaveFailedOkini);
}

// Lifts a file size limit as soon as the gardener is told of a failure, so the
// limit catches the page's write and nothing the test writes after it.
class LimitedPlatform : public ScriptedPlatform {
public:
    using ScriptedPlatform::ScriptedPlatform;
    std::unique_ptr<FileSizeLimit> limit;
    void message(const QString& text) override {
        limit.reset();
        ScriptedPlatform::message(text);
    }
};

} // namespace

// The tab お気に入り driven through its buttons and dialogs, with the page shown
// in its page view and the files in a temporary data folder.
class FavouritesTabTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsAnEmptyPageForNoFavourites();
    void showPageShowsTheTypedTextOfTheFirstParagraph();
    void addShowsTheNewFavouriteAsTheLastParagraph();
    void cancelledAddWritesNothing();
    void bareSchemeIsSavedListedAndLinked();
    void changeShowsTheNewNameInTheSamePlace();
    void cancelledPickChangesNothing();
    void deleteAsksAndRemovesOnYes();
    void deleteKeepsTheFavouriteOnNo();
    void changeAndDeleteOnAnEmptyListAskToChoose();
    void failedSaveStillShowsThePageFromMemory();
    void failedSaveAndPageGiveOneMessage();
    void unwritablePageLeavesTheLastPageOnShow();
    void linkOpensInTheDefaultBrowser();
    void scriptAddressOpensNothing();

private:
    QString folder() const { return m_platform->dataFolder(); }
    QPushButton* button(const char* name) const { return m_tab->findChild<QPushButton*>(name); }
    void seed(const QList<QStringList>& okinis);
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }
    void fill(TForm18* dialog, const QString& name, const QString& url, const QString& memo);
    void addThroughDialog(const QString& name, const QString& url, const QString& memo,
                          const char* closeButton = "okButton");
    void pickRow(int row);
    QStringList savedNames() const;
    QStringList shown() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<LimitedPlatform> m_platform;
    std::unique_ptr<TOkiniList> m_list;
    AppContext m_context;
    std::unique_ptr<TFavouritesTab> m_tab;
};

void FavouritesTabTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_platform = std::make_unique<LimitedPlatform>(m_dir->path() + QLatin1Char('/'));
    m_list = std::make_unique<TOkiniList>();
    m_context = AppContext();
    m_context.platform = m_platform.get();
    m_context.okini = m_list.get();
    m_tab = std::make_unique<TFavouritesTab>(m_context);
    m_tab->resize(760, 560);
    m_tab->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_tab.get()));
}

void FavouritesTabTest::cleanup() {
    m_tab.reset();
    m_platform->limit.reset();
}

void FavouritesTabTest::seed(const QList<QStringList>& okinis) {
    for (const QStringList& o : okinis)
        addOkini(*m_list, o[0], o[1], o[2]);
    QVERIFY(m_list->SaveToFile(folder(), *m_platform));
    m_tab->ShowPage();
}

// 追加, the dialog filled in and closed with the button.
void FavouritesTabTest::addThroughDialog(const QString& name, const QString& url, const QString& memo,
                                         const char* closeButton) {
    whenModal<TForm18>([=, this](TForm18* dialog) {
        fill(dialog, name, url, memo);
        QTest::mouseClick(dialog->findChild<QPushButton*>(closeButton), Qt::LeftButton);
    });
    click("okiniAddButton");
}

void FavouritesTabTest::fill(TForm18* dialog, const QString& name, const QString& url, const QString& memo) {
    dialog->findChild<QLineEdit*>("nameEdit")->setText(name);
    dialog->findChild<QLineEdit*>("urlEdit")->setText(url);
    dialog->findChild<QLineEdit*>("memoEdit")->setText(memo);
}

// Checks a row of the next pick dialog with a real press and presses its OK.
void FavouritesTabTest::pickRow(int row) {
    whenModal<TForm19>([row](TForm19* dialog) {
        TListView3* list = dialog->list();
        if (row < list->rowCount())
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualItemRect(list->row(row)).center());
        QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
}

// The names in OkiniList.xml, read back as the next start will read them.
QStringList FavouritesTabTest::savedNames() const {
    TOkiniList saved;
    store::RecordingSink sink;
    saved.LoadFromFile(folder(), sink);
    QStringList names;
    for (int i = 0; i < saved.count(); ++i)
        names << saved.at(i)->name;
    return names;
}

QStringList FavouritesTabTest::shown() const {
    return paragraphs(m_tab->pageView());
}

void FavouritesTabTest::showsAnEmptyPageForNoFavourites() {
    m_tab->ShowPage();
    QVERIFY(QFile::exists(folder() + kOkiniPageName));
    QCOMPARE(shown(), QStringList());
    QVERIFY(m_platform->allShown().isEmpty());
    QVERIFY(m_platform->openedUrls.isEmpty());
}

void FavouritesTabTest::showPageShowsTheTypedTextOfTheFirstParagraph() {
    seed({{"野菜の会 <b>&</b>", "http://yasai.example/?a=1&b=\"2\"",
           "～① <script>document.title='x'</script>"},
          {"二番目", "http://two.example/", ""}});
    QCOMPARE(shown(),
             (QStringList{"野菜の会 <b>&</b> - ～① <script>document.title='x'</script>", "二番目 - "}));
    QCOMPARE(links(m_tab->pageView()).value(0).href, QStringLiteral("http://yasai.example/?a=1&b=\"2\""));
}

void FavouritesTabTest::addShowsTheNewFavouriteAsTheLastParagraph() {
    seed({{"一番目", "http://one.example/", "メモ"}});
    addThroughDialog("野菜の会", "http://yasai.example/", "種まきの暦");
    QCOMPARE(m_list->count(), 2);
    QCOMPARE(savedNames(), (QStringList{"一番目", "野菜の会"}));
    QCOMPARE(shown(), (QStringList{"一番目 - メモ", "野菜の会 - 種まきの暦"}));
    QVERIFY(m_platform->allShown().isEmpty());
}

void FavouritesTabTest::cancelledAddWritesNothing() {
    addThroughDialog("野菜の会", "http://yasai.example/", "", "cancelButton");
    QCOMPARE(m_list->count(), 0);
    QVERIFY(QDir(folder()).entryList(QDir::Files).isEmpty());
}

void FavouritesTabTest::bareSchemeIsSavedListedAndLinked() {
    addThroughDialog("家庭菜園", "http://", "");
    QVERIFY(m_platform->allShown().isEmpty());
    QCOMPARE(savedNames(), QStringList{"家庭菜園"});
    QCOMPARE(shown(), QStringList{"家庭菜園 - "});
    QCOMPARE(links(m_tab->pageView()).value(0).href, QStringLiteral("http://"));
    QStringList listed;
    whenModal<TForm19>([&listed](TForm19* dialog) {
        listed << dialog->list()->row(0)->text(1) << dialog->list()->row(0)->text(2);
    });
    click("okiniChangeButton");
    QCOMPARE(listed, (QStringList{"家庭菜園", "http://"}));
}

void FavouritesTabTest::changeShowsTheNewNameInTheSamePlace() {
    seed({{"一番目", "http://one.example/", ""},
          {"野菜の会", "http://yasai.example/", "暦"},
          {"三番目", "http://three.example/", ""}});
    TOkini* changed = m_list->at(1);
    pickRow(1);
    whenModal<TForm18>([this](TForm18* dialog) {
        QCOMPARE(dialog->findChild<QLineEdit*>("nameEdit")->text(), QStringLiteral("野菜の会"));
        dialog->findChild<QLineEdit*>("nameEdit")->setText(QStringLiteral("野菜倶楽部"));
        QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
    });
    click("okiniChangeButton");
    QCOMPARE(m_list->at(1), changed);
    QCOMPARE(savedNames(), (QStringList{"一番目", "野菜倶楽部", "三番目"}));
    QCOMPARE(shown(), (QStringList{"一番目 - ", "野菜倶楽部 - 暦", "三番目 - "}));
    QVERIFY(m_platform->allShown().isEmpty());
}

void FavouritesTabTest::cancelledPickChangesNothing() {
    seed({{"野菜の会", "http://yasai.example/", ""}});
    const QByteArray before = [this] {
        QFile file(folder() + kOkiniFileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    for (const char* command : {"okiniChangeButton", "okiniDeleteButton"}) {
        whenModal<TForm19>([](TForm19* dialog) {
            dialog->list()->CheckItem(0);
            QTest::mouseClick(dialog->findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
        });
        click(command);
    }
    QVERIFY(m_platform->allShown().isEmpty());
    QCOMPARE(m_list->count(), 1);
    QFile file(folder() + kOkiniFileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

void FavouritesTabTest::deleteAsksAndRemovesOnYes() {
    seed({{"一番目", "http://one.example/", ""}, {"野菜の会", "http://yasai.example/", ""}});
    m_platform->answers.enqueue(true);
    pickRow(1);
    click("okiniDeleteButton");
    QCOMPARE(m_platform->questions, QStringList{"野菜の会 を削除します。よろしいですか？"});
    QCOMPARE(m_list->count(), 1);
    QCOMPARE(savedNames(), QStringList{"一番目"});
    QCOMPARE(shown(), QStringList{"一番目 - "});
}

void FavouritesTabTest::deleteKeepsTheFavouriteOnNo() {
    seed({{"野菜の会", "http://yasai.example/", ""}});
    m_platform->answers.enqueue(false);
    pickRow(0);
    click("okiniDeleteButton");
    QCOMPARE(m_platform->questions, QStringList{"野菜の会 を削除します。よろしいですか？"});
    QCOMPARE(m_list->count(), 1);
    QCOMPARE(savedNames(), QStringList{"野菜の会"});
    QCOMPARE(shown(), QStringList{"野菜の会 - "});
}

void FavouritesTabTest::changeAndDeleteOnAnEmptyListAskToChoose() {
    m_tab->ShowPage();
    for (const char* command : {"okiniChangeButton", "okiniDeleteButton"}) {
        int rows = -1;
        whenModal<TForm19>([&rows](TForm19* dialog) {
            rows = dialog->list()->rowCount();
            QTest::mouseClick(dialog->findChild<QPushButton*>("okButton"), Qt::LeftButton);
            QVERIFY(dialog->isVisible());
        });
        click(command);
        QCOMPARE(rows, 0);
    }
    QCOMPARE(m_platform->messages, QStringList(2, QStringLiteral("お気に入りを選択してください。")));
    QVERIFY(m_platform->questions.isEmpty());
    QVERIFY(!QFile::exists(folder() + kOkiniFileName));
}

// OkiniList.xml cannot be replaced while a folder stands in its place.
void FavouritesTabTest::failedSaveStillShowsThePageFromMemory() {
    m_tab->ShowPage();
    QVERIFY(QDir(folder()).mkdir(kOkiniFileName));
    addThroughDialog("野菜の会", "http://yasai.example/", "");
    QCOMPARE(m_platform->messages, QStringList{saveMessage()});
    QCOMPARE(m_list->count(), 1);
    QCOMPARE(shown(), QStringList{"野菜の会 - "});
}

void FavouritesTabTest::failedSaveAndPageGiveOneMessage() {
    m_tab->ShowPage();
    QVERIFY(QDir(folder()).removeRecursively());
    addThroughDialog("野菜の会", "http://yasai.example/", "");
    QCOMPARE(m_platform->messages, QStringList{saveMessage()});
    QCOMPARE(m_list->count(), 1);
    QVERIFY(!QDir(folder()).exists());
}

void FavouritesTabTest::unwritablePageLeavesTheLastPageOnShow() {
    seed({{"野菜の会", "http://yasai.example/", ""}});
    QCOMPARE(shown(), QStringList{"野菜の会 - "});
    for (int i = 0; i < 100; ++i)
        addOkini(*m_list, QStringLiteral("菜園%1").arg(i), "http://x.example/", "メモ");
    // The disk fills up half way through the page.
    m_platform->limit = std::make_unique<FileSizeLimit>(1024);
    m_tab->ShowPage();
    QVERIFY(!m_platform->limit);
    QCOMPARE(m_platform->messages, QStringList{saveMessage()});
    QCOMPARE(shown(), QStringList{"野菜の会 - "});
}

void FavouritesTabTest::linkOpensInTheDefaultBrowser() {
    seed({{"野菜の会", "http://yasai.example/", ""}});
    testsupport::clickLink(m_tab->pageView(), links(m_tab->pageView()).value(0));
    QCOMPARE(m_platform->openedUrls, QStringList{"http://yasai.example/"});
    QCOMPARE(shown(), QStringList{"野菜の会 - "});
    QVERIFY(!m_tab->pageView()->isBackwardAvailable());
}

void FavouritesTabTest::scriptAddressOpensNothing() {
    seed({{"怪しいリンク", "javascript:alert(1)", ""}, {"手元のファイル", "file:///etc/passwd", ""}});
    for (const testsupport::Link& link : links(m_tab->pageView()))
        testsupport::clickLink(m_tab->pageView(), link);
    QVERIFY(m_platform->openedUrls.isEmpty());
    QCOMPARE(shown(), (QStringList{"怪しいリンク - ", "手元のファイル - "}));
}

QTEST_MAIN(FavouritesTabTest)
#include "favourites_tab_test.moc"
