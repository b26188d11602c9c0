#pragma once

#include <QWidget>

class PageView;
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

    PageView* pageView() const { return m_view; }

    // Writes OkiniList.html from the favourites and shows it. The one way the
    // page is refreshed: every change to the favourites ends here.
    void ShowPage();
    // Selects the favourite's paragraph on the page and scrolls to it.
    void ShowOkini(const TOkini* okini);

    void AddButtonClick();
    void ChangeButtonClick();
    void DeleteButtonClick();

private:
    TOkini* pickOkini();
    // False when the favourites could not be saved.
    bool saveAndShow();
    void showPage(store::MessageSink& sink);

    AppContext& m_context;
    PageView* m_view;
};
