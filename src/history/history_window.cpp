#include "history/history_window.h"

#include "history/change_text.h"
#include "history/history.h"
#include "widgets/dialog_buttons.h"
#include "widgets/list_view3.h"
#include "widgets/platform.h"
#include "widgets/tab_layout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFormHistory::TFormHistory(Platform& platform, const history::History& history,
                           std::function<void(int id)> restore, QWidget* parent)
    : QDialog(parent), m_platform(platform), m_history(history), m_restore(std::move(restore)) {
    setObjectName(QStringLiteral("TFormHistory"));
    setWindowTitle(QStringLiteral("履歴"));
    QFont tabFont = font();
    tabFont.setPointSize(10);
    setFont(tabFont);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        tabs::hint(QStringLiteral("新しい変更から順に並んでいます。戻したい変更にチェックを付けて"
                                  "「戻す」を押すと、その変更の前の状態に戻ります。"),
                   this));
    m_list = new TListView3(this);
    m_list->setObjectName(QStringLiteral("historyList"));
    m_list->setColumns({QStringLiteral("日時"), QStringLiteral("変更"), QStringLiteral("ファイル（件数）")},
                       {130, 250, 360});
    layout->addWidget(m_list, 1);

    auto* row = tabs::commandRow();
    QPushButton* restoreButton = tabs::button(QStringLiteral("戻す"), "historyRestoreButton", this);
    connect(restoreButton, &QPushButton::clicked, this, &TFormHistory::RestoreButtonClick);
    row->addWidget(restoreButton);
    QPushButton* close = tabs::button(QStringLiteral("閉じる"), "historyCloseButton", this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    tabs::addRight(row, close);
    layout->addLayout(row);
    resize(800, 440);
    fillList();
}

void TFormHistory::fillList() {
    m_list->setUpdatesEnabled(false);
    m_list->clear();
    const QList<history::Change>& changes = m_history.changes();
    for (auto c = changes.crbegin(); c != changes.crend(); ++c) {
        QTreeWidgetItem* row =
            m_list->addRow({history::listTime(c->time), c->name, history::filesText(*c)}, &*c);
        QStringList lines;
        for (const history::FileChange& f : c->files)
            lines << history::fileText(*c, f);
        row->setToolTip(2, c->name);
        row->setToolTip(3, lines.join(QLatin1Char('\n')));
    }
    m_list->setUpdatesEnabled(true);
}

void TFormHistory::RestoreButtonClick() {
    const auto* change = m_list->checkedRecord<history::Change>();
    if (!change) {
        m_platform.message(QStringLiteral("戻す変更を選択してください。"));
        return;
    }
    const int id = change->id;
    if (!m_platform.question(history::listTime(change->time) + QStringLiteral(" の「") + change->name +
                             QStringLiteral("」の前の状態に戻します。よろしいですか？")))
        return;
    m_restore(id);
    fillList();
}
