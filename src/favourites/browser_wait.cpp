#include "favourites/browser_wait.h"

#include <QEventLoop>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

bool loadAndWait(QWebEngineView& view, const QUrl& url, int timeoutMs) {
    QEventLoop loop;
    bool finished = false;
    // Both connections die with the loop, so neither can reach it afterwards.
    QObject::connect(&view, &QWebEngineView::loadFinished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    view.load(url);
    if (!finished)
        loop.exec();
    return finished;
}
