#include "favourites/favourite_records.h"
#include "store/message_sink.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

TOkini* addOkini(TOkiniList& list, const QString& name, const QString& url, const QString& memo) {
    TOkini* okini = list.add();
    okini->name = name;
    okini->url = url;
    okini->memo = memo;
    return okini;
}

} // namespace

// The written page as the browser engine reads it: Shift-JIS decoded, markup typed
// by the gardener shown as text.
class FavouritePageViewTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void browserShowsTheTypedTextOfTheFirstParagraph();

private:
    QVariant evaluate(const QString& script);

    QTemporaryDir m_dir;
    std::unique_ptr<QWebEngineView> m_view;
};

void FavouritePageViewTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_view = std::make_unique<QWebEngineView>();
    m_view->resize(640, 480);
    m_view->show();
}

QVariant FavouritePageViewTest::evaluate(const QString& script) {
    QVariant result;
    bool done = false;
    m_view->page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    // Bounded, so an engine that never answers fails the comparison instead of hanging.
    const QDeadlineTimer deadline(60000);
    while (!done && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    return result;
}

void FavouritePageViewTest::browserShowsTheTypedTextOfTheFirstParagraph() {
    TOkiniList list;
    addOkini(list, QStringLiteral("野菜の会 <b>&</b>"), QStringLiteral("http://yasai.example/?a=1&b=\"2\""),
             QStringLiteral("～①㈱ <script>document.title='x'</script>"));
    addOkini(list, QStringLiteral("二番目"), QStringLiteral("http://"), QString());
    const QString folder = m_dir.path() + QLatin1Char('/');
    store::RecordingSink sink;
    QVERIFY(list.WritePage(folder, QStringLiteral("file:///nowhere/"), sink));

    QSignalSpy loaded(m_view.get(), &QWebEngineView::loadFinished);
    m_view->load(QUrl::fromLocalFile(folder + kOkiniPageName));
    while (loaded.isEmpty())
        QVERIFY(loaded.wait(60000));
    QCOMPARE(loaded.first().first().toBool(), true);

    QCOMPARE(evaluate(QStringLiteral("document.querySelector('p').textContent")).toString(),
             QStringLiteral("野菜の会 <b>&</b> - ～①㈱ <script>document.title='x'</script>"));
    QCOMPARE(evaluate(QStringLiteral("document.querySelector('p a').getAttribute('href')")).toString(),
             QStringLiteral("http://yasai.example/?a=1&b=\"2\""));
    QCOMPARE(evaluate(QStringLiteral("document.querySelectorAll('p').length")).toInt(), 2);
    QCOMPARE(evaluate(QStringLiteral("document.querySelectorAll('b, script').length")).toInt(), 0);
    QCOMPARE(evaluate(QStringLiteral("document.querySelector('p:last-child a').textContent")).toString(),
             QStringLiteral("二番目"));
}

QTEST_MAIN(FavouritePageViewTest)
#include "favourite_page_view_test.moc"
