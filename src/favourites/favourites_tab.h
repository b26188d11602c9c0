#pragma once

#include <QWidget>

class QUrl;
class QWebEngineView;
class TOkini;
struct AppContext;
namespace store {
class MessageSink;
}

// The tab お気に入り: the generated page of favourite links and its commands.
// Each command saves the favourites and shows the page again at once.
class TFavouritesTab : public QWidget {
    Q_OBJECT
public:
    TFavouritesTab(AppContext& context, QWidget* parent = nullptr);

    QWebEngineView* browser() const { return m_browser; }

    // Writes OkiniList.html from the favourites and shows it. Waits for the
    // browser while window events go on, each wait bounded to a few seconds.
    void ShowPage();

    void AddButtonClick();
    void ChangeButtonClick();
    void DeleteButtonClick();

private:
    TOkini* pickOkini();
    void saveAndShow();
    void showPage(store::MessageSink& sink);
    void showPageFile();

    AppContext& m_context;
    QWebEngineView* m_browser;
};
