#pragma once

#include <QObject>
#include <QUrl>

class QProcess;

// Hands an address to the desktop's default browser through xdg-open, and
// tells how that went from xdg-open's exit status. It never waits: xdg-open
// may run as long as the browser it started, so the answer comes as a signal
// whenever it ends. (QDesktopServices says yes as soon as xdg-open starts,
// whatever becomes of it.)
class BrowserLauncher : public QObject {
    Q_OBJECT
public:
    explicit BrowserLauncher(QObject* parent = nullptr);
    ~BrowserLauncher() override;

    void open(const QUrl& url);

signals:
    void opened(const QUrl& url);
    // xdg-open is missing, or found no browser, or the browser failed.
    void failed(const QUrl& url);

private:
    void finish(QProcess* process, const QUrl& url, bool ok);
};
