#include "favourites/favourite_records.h"
#include "okini_test_support.h"
#include "store/message_sink.h"
#include "support/page_reading.h"
#include "support/scripted_platform.h"
#include "widgets/page_view.h"

#include <QTemporaryDir>
#include <QTest>

using okinitest::addOkini;
using testsupport::links;
using testsupport::paragraphs;

namespace {

// The format of the text at position in the document.
QTextCharFormat formatAt(const QTextDocument* document, int position) {
    QTextCursor cursor(const_cast<QTextDocument*>(document));
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

} // namespace

// The written page as the page view reads it: code page 932 decoded, markup typed
// by the gardener shown as text, and the look of the site's okini.css.
class FavouritePageViewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void showsTheTypedTextOfEveryParagraph();
    void nameIsABoldLinkAndTheMemoMuted();

private:
    void showPage(const TOkiniList& list);

    QTemporaryDir m_dir;
    std::unique_ptr<ScriptedPlatform> m_platform;
    std::unique_ptr<PageView> m_view;
};

void FavouritePageViewTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_platform = std::make_unique<ScriptedPlatform>(m_dir.path() + QLatin1Char('/'));
    m_view = std::make_unique<PageView>(*m_platform);
    m_view->resize(640, 480);
    m_view->show();
}

void FavouritePageViewTest::showPage(const TOkiniList& list) {
    const QString site = QUrl::fromLocalFile(QStringLiteral(AOBAROKU_SITE_DIR "/")).toString();
    store::RecordingSink sink;
    QVERIFY(list.WritePage(m_platform->dataFolder(), site, sink));
    QVERIFY(m_view->showFile(m_platform->dataFolder() + kOkiniPageName));
}

void FavouritePageViewTest::showsTheTypedTextOfEveryParagraph() {
    TOkiniList list;
    addOkini(list, QStringLiteral("野菜の会 <b>&</b> ①㈱"),
             QStringLiteral("http://yasai.example/?a=1&b=\"2\""),
             QStringLiteral("～①㈱ <script>document.title='x'</script>"));
    addOkini(list, QStringLiteral("二番目"), QStringLiteral("http://"), QString());
    showPage(list);

    QCOMPARE(paragraphs(m_view.get()),
             (QStringList{"野菜の会 <b>&</b> ①㈱ - ～①㈱ <script>document.title='x'</script>", "二番目 - "}));
    const QList<testsupport::Link> found = links(m_view.get());
    QCOMPARE(found.size(), 2);
    QCOMPARE(found[0].href, QStringLiteral("http://yasai.example/?a=1&b=\"2\""));
    QCOMPARE(found[1].href, QStringLiteral("http://"));
}

void FavouritePageViewTest::nameIsABoldLinkAndTheMemoMuted() {
    TOkiniList list;
    addOkini(list, QStringLiteral("野菜の会"), QStringLiteral("http://yasai.example/"),
             QStringLiteral("種の話"));
    showPage(list);
    const QTextDocument* document = m_view->document();
    const testsupport::Link link = links(m_view.get()).value(0);
    const QTextCharFormat name = formatAt(document, link.position);
    const QTextCharFormat memo = formatAt(document, link.position + link.length + 3);
    QCOMPARE(name.fontWeight(), int(QFont::Bold));
    QVERIFY(memo.fontWeight() < int(QFont::Bold));
    QVERIFY(memo.foreground().color() != name.foreground().color());
    QVERIFY(memo.foreground().color().saturation() < 64);
}

QTEST_MAIN(FavouritePageViewTest)
#include "favourite_page_view_test.moc"
