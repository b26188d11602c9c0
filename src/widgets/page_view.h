#pragma once

#include <QTextBrowser>

class Platform;

// A read-only view of one local HTML page: the site's pages and the generated
// page of favourites. The page never changes under the gardener's hand: a link
// goes to the default browser, and only when it is a web, FTP or mail address.
// The page is read at once, so whoever shows it never waits.
class PageView : public QTextBrowser {
    Q_OBJECT
public:
    explicit PageView(Platform& platform, QWidget* parent = nullptr);

    // Shows the page in the file, its style sheet and images taken relative to
    // it. False, with the page on show left as it is, when the file cannot be read.
    bool showFile(const QString& path);

private:
    void linkClicked(const QUrl& url);

    Platform& m_platform;
};
