#include "widgets/external_link_page.h"

namespace {

// Catches the first navigation of a would-be new window and hands it out.
class ForwardingPage : public QWebEnginePage {
public:
    ForwardingPage(ExternalLinkPage::Opener opener, QObject* parent)
        : QWebEnginePage(parent), m_opener(std::move(opener)) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
        if (m_opener)
            m_opener(url);
        deleteLater();
        return false;
    }

private:
    ExternalLinkPage::Opener m_opener;
};

} // namespace

ExternalLinkPage::ExternalLinkPage(Opener opener, QObject* parent)
    : QWebEnginePage(parent), m_opener(std::move(opener)) {}

QWebEnginePage* ExternalLinkPage::createWindow(WebWindowType) {
    return new ForwardingPage(m_opener, this);
}

bool ExternalLinkPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (m_keepInside && isMainFrame && type == NavigationTypeLinkClicked) {
        if (m_opener)
            m_opener(url);
        return false;
    }
    return QWebEnginePage::acceptNavigationRequest(url, type, isMainFrame);
}
