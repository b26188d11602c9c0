#pragma once

#include "widgets/external_link_page.h"

// The page of the お気に入り tab. Only the program moves it, to the generated
// page; every link the gardener follows, in a new window or not, goes to the
// default browser, so the tab never turns into a browser of other sites.
class OkiniWebPage : public ExternalLinkPage {
public:
    OkiniWebPage(Opener opener, QObject* parent);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    Opener m_opener;
};
