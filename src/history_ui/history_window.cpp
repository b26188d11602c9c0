#include "history_ui/history_window.h"

#include "history/change_text.h"
#include "history/history.h"
#include "history_ui/file_names.h"
#include "widgets/list_view3.h"
#include "widgets/platform.h"
#include "widgets/tab_layout.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString countText(bool exists, int records) {
    if (!exists)
        return QStringLiteral("なし");
    return records < 0 ? QStringLiteral("?") : QString::number(records) + QStringLiteral("件");
}

// "購入履歴 4件 → 3件": the records before and after, under the file's name in words.
QString fileText(const history::Change& change, const history::FileChange& file,
                 const history::FileNames& names) {
    const QString name = names.of(file.file);
    if (change.kind == history::ChangeKind::Unreadable)
        return name + QStringLiteral("（読み込めなかった版）");
    QString text = name + QLatin1Char(' ') + countText(file.existedBefore, file.recordsBefore) +
                   QStringLiteral(" → ") + countText(file.after.exists, file.recordsAfter);
    if (file.external)
        text += QStringLiteral("（ほかで変更された版も保存）");
    return text;
}

} // namespace

TFormHistory::TFormHistory(Platform& platform, const history::History& history,
                           std::function<void(qint64 id)> restore, QWidget* parent)
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
    showChanges();
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

// The window's rows show its own copy of the changes, newest first: a
// restore adds changes to the history while its messages are up.
TFormHistory::~TFormHistory() {
    m_list->clear();
}

// The files go by the names the gardener knows them by, read once as the window opens.
void TFormHistory::showChanges() {
    const auto names =
        std::make_shared<history::FileNames>(history::FileNames::ofFolder(m_platform.dataFolder()));
    const auto files = [names](const history::Change& c) {
        QStringList texts;
        for (const history::FileChange& f : c.files)
            texts << fileText(c, f, *names);
        return texts;
    };
    m_list->setTexts<history::Change>([files](const history::Change& c, int column) {
        switch (column) {
        case 1:
            return history::listTime(c.time);
        case 2:
            return c.name;
        default:
            return files(c).join(QStringLiteral("、"));
        }
    });
    m_list->setToolTips<history::Change>([files](const history::Change& c, int column) {
        if (column == 2)
            return c.name;
        return column == 3 ? files(c).join(QLatin1Char('\n')) : QString();
    });
}

void TFormHistory::fillList() {
    QList<history::Change> shown(m_history.changes().crbegin(), m_history.changes().crend());
    std::vector<const history::Change*> rows;
    for (const history::Change& c : shown)
        rows.push_back(&c);
    m_list->setRecords(rows);
    m_shown = std::move(shown);
}

void TFormHistory::RestoreButtonClick() {
    const auto* change = m_list->checkedRecord<history::Change>();
    if (!change) {
        m_platform.message(QStringLiteral("戻す変更を選択してください。"));
        return;
    }
    const qint64 id = change->id;
    if (!m_platform.question(history::listTime(change->time) + QStringLiteral(" の「") + change->name +
                             QStringLiteral("」の前の状態に戻します。よろしいですか？")))
        return;
    m_restore(id);
    fillList();
}
