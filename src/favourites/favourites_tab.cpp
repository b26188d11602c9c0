#include "favourites/favourites_tab.h"

#include "widgets/app_context.h"
#include "widgets/external_link_page.h"
#include "widgets/platform.h"
#include "widgets/tab_layout.h"

#include <QVBoxLayout>
#include <QWebEngineView>

TFavouritesTab::TFavouritesTab(AppContext& context, QWidget* parent) : QWidget(parent), m_context(context) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs::hint(
        QStringLiteral("よく訪問するサイトや、参考にしているサイトを「追加」ボタンから登録します。"), this));
    m_browser = new QWebEngineView(this);
    m_browser->setObjectName(QStringLiteral("okiniBrowser"));
    auto* page =
        new ExternalLinkPage([this](const QUrl& url) { m_context.platform->openUrl(url); }, m_browser);
    page->setKeepInside(true);
    m_browser->setPage(page);
    layout->addWidget(m_browser, 1);

    auto* row = tabs::commandRow();
    row->addWidget(tabs::button(QStringLiteral("追加"), "okiniAddButton", this));
    row->addWidget(tabs::button(QStringLiteral("変更"), "okiniChangeButton", this));
    row->addWidget(tabs::button(QStringLiteral("削除"), "okiniDeleteButton", this));
    row->addStretch(1);
    layout->addLayout(row);
}
