#pragma once

#include <QWebEnginePage>
#include <functional>

// A page whose links that open a new window (target _blank) go to the user's
// default browser instead of a window of ours.
class ExternalLinkPage : public QWebEnginePage {
    Q_OBJECT
public:
    using Opener = std::function<void(const QUrl&)>;
    ExternalLinkPage(Opener opener, QObject* parent);

    // When set, every navigation away from the page itself goes out too.
    void setKeepInside(bool on) { m_keepInside = on; }

protected:
    QWebEnginePage* createWindow(WebWindowType type) override;
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    Opener m_opener;
    bool m_keepInside = false;
};
