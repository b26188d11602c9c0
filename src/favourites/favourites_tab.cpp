#include "favourites/favourites_tab.h"

#include "favourites/browser_wait.h"
#include "favourites/favourite_records.h"
#include "favourites/favourites_pick_dialog.h"
#include "favourites/okini_web_page.h"
#include "favourites/url_dialog.h"
#include "history/command_scope.h"
#include "store/message_sink.h"
#include "store/site.h"
#include "widgets/app_context.h"
#include "widgets/platform.h"
#include "widgets/tab_layout.h"

#include <QFile>
#include <QPointer>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineView>

namespace {

// Long enough for the engine to start on a slow machine, short enough that a
// browser that never answers costs only a pause.
constexpr int kBrowserWaitMs = 5000;

} // namespace

TFavouritesTab::TFavouritesTab(AppContext& context, QWidget* parent) : QWidget(parent), m_context(context) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs::hint(
        QStringLiteral("よく訪問するサイトや、参考にしているサイトを「追加」ボタンから登録します。"), this));
    m_browser = new QWebEngineView(this);
    m_browser->setObjectName(QStringLiteral("okiniBrowser"));
    // A dropped file or address would be opened inside the tab.
    m_browser->setAcceptDrops(false);
    m_browser->setPage(
        new OkiniWebPage([this](const QUrl& url) { m_context.platform->openUrl(url); }, m_browser));
    layout->addWidget(m_browser, 1);

    auto* row = tabs::commandRow();
    auto add = [this, row](const QString& caption, const char* name, void (TFavouritesTab::*handler)()) {
        QPushButton* b = tabs::button(caption, name, this);
        connect(b, &QPushButton::clicked, this, handler);
        row->addWidget(b);
    };
    add(QStringLiteral("追加"), "okiniAddButton", &TFavouritesTab::AddButtonClick);
    add(QStringLiteral("変更"), "okiniChangeButton", &TFavouritesTab::ChangeButtonClick);
    add(QStringLiteral("削除"), "okiniDeleteButton", &TFavouritesTab::DeleteButtonClick);
    row->addStretch(1);
    layout->addLayout(row);
}

// The blank page comes first so the browser lets go of the old file before it
// is replaced. A page that could not be written leaves the last one on show.
void TFavouritesTab::ShowPage() {
    showPage(*m_context.platform);
}

void TFavouritesTab::showPage(store::MessageSink& sink) {
    QPointer<TFavouritesTab> alive(this);
    loadAndWait(*m_browser, QUrl(QStringLiteral("about:blank")), kBrowserWaitMs);
    if (!alive)
        return;
    m_context.okini->WritePage(m_context.platform->dataFolder(), siteAddress(), sink);
    showPageFile();
}

void TFavouritesTab::showPageFile() {
    const QString path = m_context.platform->dataFolder() + kOkiniPageName;
    if (!QFile::exists(path))
        return;
    loadAndWait(*m_browser, QUrl::fromLocalFile(path), kBrowserWaitMs);
    // Going back would only show the blank page between two showings.
    m_browser->history()->clear();
}

// A page written beside a list that could not be saved nearly always fails the
// same way; the gardener hears of one failed change once.
void TFavouritesTab::saveAndShow() {
    Platform& platform = *m_context.platform;
    if (m_context.okini->SaveToFile(platform.dataFolder(), platform)) {
        ShowPage();
        return;
    }
    store::RecordingSink alreadyTold;
    showPage(alreadyTold);
}

TOkini* TFavouritesTab::pickOkini() {
    TForm19 dialog(*m_context.platform, *m_context.okini, window());
    return dialog.exec() == QDialog::Accepted ? dialog.okini() : nullptr;
}

void TFavouritesTab::AddButtonClick() {
    const history::CommandScope change(m_context.history, QStringLiteral("お気に入り「追加」"));
    TForm18 dialog(*m_context.platform, *m_context.okini, nullptr, window());
    if (dialog.exec() == QDialog::Accepted)
        saveAndShow();
}

void TFavouritesTab::ChangeButtonClick() {
    const history::CommandScope change(m_context.history, QStringLiteral("お気に入り「変更」"));
    TOkini* okini = pickOkini();
    if (!okini)
        return;
    TForm18 dialog(*m_context.platform, *m_context.okini, okini, window());
    if (dialog.exec() == QDialog::Accepted)
        saveAndShow();
}

void TFavouritesTab::DeleteButtonClick() {
    const history::CommandScope change(m_context.history, QStringLiteral("お気に入り「削除」"));
    TOkini* okini = pickOkini();
    if (!okini ||
        !m_context.platform->question(okini->name + QStringLiteral(" を削除します。よろしいですか？")))
        return;
    m_context.okini->remove(m_context.okini->indexOf(okini));
    saveAndShow();
}
