#pragma once

#include <QWidget>

class QWebEngineView;
struct AppContext;

// The tab お気に入り: the generated page of favourite links and its commands.
class TFavouritesTab : public QWidget {
    Q_OBJECT
public:
    TFavouritesTab(AppContext& context, QWidget* parent = nullptr);

    QWebEngineView* browser() const { return m_browser; }

private:
    AppContext& m_context;
    QWebEngineView* m_browser;
};
