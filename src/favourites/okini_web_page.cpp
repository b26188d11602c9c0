#include "favourites/okini_web_page.h"

OkiniWebPage::OkiniWebPage(Opener opener, QObject* parent)
    : ExternalLinkPage(opener, parent), m_opener(opener) {}

bool OkiniWebPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    // Loads the program asks for arrive as typed addresses.
    if (isMainFrame && (type == NavigationTypeTyped || type == NavigationTypeReload))
        return true;
    if (isMainFrame && type != NavigationTypeBackForward && m_opener)
        m_opener(url);
    return false;
}
