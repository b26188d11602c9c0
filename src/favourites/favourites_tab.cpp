#include "favourites/favourites_tab.h"

#include "favourites/favourite_records.h"
#include "favourites/favourites_pick_dialog.h"
#include "favourites/url_dialog.h"
#include "history/command_scope.h"
#include "store/message_sink.h"
#include "store/site.h"
#include "widgets/app_context.h"
#include "widgets/page_view.h"
#include "widgets/platform.h"
#include "widgets/tab_layout.h"

#include <QTextBlock>
#include <QVBoxLayout>

TFavouritesTab::TFavouritesTab(AppContext& context, QWidget* parent) : QWidget(parent), m_context(context) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs::hint(
        QStringLiteral("よく訪問するサイトや、参考にしているサイトを「追加」ボタンから登録します。"), this));
    m_view = new PageView(*m_context.platform, this);
    m_view->setObjectName(QStringLiteral("okiniBrowser"));
    layout->addWidget(m_view, 1);

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

void TFavouritesTab::ShowPage() {
    showPage(*m_context.platform);
}

// The view goes blank first, so it never shows a page its file no longer holds.
// A page that could not be written keeps the file, and so the page, of before.
void TFavouritesTab::showPage(store::MessageSink& sink) {
    m_view->clear();
    const QString folder = m_context.platform->dataFolder();
    m_context.okini->WritePage(folder, siteAddress(), sink);
    m_view->showFile(folder + kOkiniPageName);
}

// A page written beside a list that could not be saved nearly always fails the
// same way; the gardener hears of one failed change once.
bool TFavouritesTab::saveAndShow() {
    Platform& platform = *m_context.platform;
    if (m_context.okini->SaveToFile(platform.dataFolder(), platform)) {
        ShowPage();
        return true;
    }
    store::RecordingSink alreadyTold;
    showPage(alreadyTold);
    return false;
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
    if (saveAndShow())
        m_context.tellUndoable(kDeletedNote);
}

// The page holds one paragraph per favourite, in list order: the favourite's
// paragraph is selected and scrolled to.
void TFavouritesTab::ShowOkini(const TOkini* okini) {
    int paragraph = m_context.okini->indexOf(okini);
    if (paragraph < 0)
        return;
    for (QTextBlock block = m_view->document()->begin(); block.isValid(); block = block.next()) {
        if (block.text().isEmpty() || paragraph-- > 0)
            continue;
        QTextCursor cursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        m_view->setTextCursor(cursor);
        m_view->ensureCursorVisible();
        m_view->setFocus();
        return;
    }
}
