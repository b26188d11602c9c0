#include "favourites/browser_wait.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <QWebEngineView>

// The one wait of the program: it ends when the browser reports the load, and
// also when the browser never does.
class BrowserWaitTest : public QObject {
    Q_OBJECT

private slots:
    void endsWhenTheLoadFinishes();
    void givesUpOnABrowserThatNeverAnswers();
};

void BrowserWaitTest::endsWhenTheLoadFinishes() {
    QTemporaryDir dir;
    QFile page(dir.filePath("page.html"));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write("<html><body><p>x</p></body></html>");
    page.close();
    QWebEngineView view;
    QVERIFY(loadAndWait(view, QUrl("about:blank"), 60000));
    QVERIFY(loadAndWait(view, QUrl::fromLocalFile(page.fileName()), 60000));
    QCOMPARE(view.url(), QUrl::fromLocalFile(page.fileName()));
}

// A server that takes the connection and never sends a byte back.
void BrowserWaitTest::givesUpOnABrowserThatNeverAnswers() {
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    QList<QTcpSocket*> held;
    connect(&server, &QTcpServer::newConnection, &server, [&] {
        while (QTcpSocket* socket = server.nextPendingConnection())
            held << socket;
    });
    QWebEngineView view;
    const QUrl silent(QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort()));
    QVERIFY(!loadAndWait(view, silent, 300));
}

QTEST_MAIN(BrowserWaitTest)
#include "browser_wait_test.moc"
