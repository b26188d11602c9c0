#include "search/search_window.h"

#include "widgets/dialog_placement.h"
#include "widgets/tab_layout.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Where a result row finds its hit: the kind, then the hit of that kind.
constexpr int kKindRole = Qt::UserRole;
constexpr int kHitRole = Qt::UserRole + 1;

QString count(int n) {
    return QLocale().toString(n) + QStringLiteral("件");
}

} // namespace

TFormSearch::TFormSearch(search::SearchKinds kinds, const QString& lastQuery, QWidget* parent)
    : QDialog(parent), m_kinds(std::move(kinds)) {
    setObjectName(QStringLiteral("TFormSearch"));
    setWindowTitle(QStringLiteral("検索"));
    QFont tabFont = font();
    tabFont.setPointSize(10);
    setFont(tabFont);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs::hint(QStringLiteral("作物、作付計画、予定、購入履歴、お気に入りから探します。"
                                                "ひらがなとカタカナ、全角と半角は区別しません。"),
                                 this));
    m_field = new QLineEdit(this);
    m_field->setObjectName(QStringLiteral("searchField"));
    m_field->setClearButtonEnabled(true);
    m_field->installEventFilter(this);
    layout->addWidget(m_field);

    m_results = new QTreeWidget(this);
    m_results->setObjectName(QStringLiteral("searchResults"));
    m_results->setColumnCount(2);
    m_results->setHeaderLabels({QStringLiteral("名前"), QStringLiteral("詳しく")});
    m_results->header()->resizeSection(0, 220);
    m_results->setRootIsDecorated(false);
    m_results->setUniformRowHeights(true);
    m_results->installEventFilter(this);
    layout->addWidget(m_results, 1);

    auto* row = tabs::commandRow();
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("searchStatus"));
    row->addWidget(m_status, 1);
    QPushButton* openButton = tabs::button(QStringLiteral("移動"), "searchOpenButton", this);
    openButton->setToolTip(QStringLiteral("選んだものを表示します（Enter、ダブルクリック）"));
    row->addWidget(openButton);
    QPushButton* close = tabs::button(QStringLiteral("閉じる"), "searchCloseButton", this);
    row->addWidget(close);
    layout->addLayout(row);

    // The words of the last time are searched once, before the field reports its changes.
    m_field->setText(lastQuery);
    m_field->selectAll();
    FieldChanged();
    connect(m_field, &QLineEdit::textChanged, this, &TFormSearch::FieldChanged);
    connect(m_field, &QLineEdit::returnPressed, this, &TFormSearch::OpenClick);
    connect(m_results, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { open(item); });
    connect(openButton, &QPushButton::clicked, this, &TFormSearch::OpenClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    resize(640, 480);
    centreOnMainWindow(this);
}

QString TFormSearch::query() const {
    return m_field->text();
}

void TFormSearch::FieldChanged() {
    const search::Query query(m_field->text());
    m_results->clear();
    m_hits.assign(m_kinds.size(), {});
    int total = 0;
    if (!query.isEmpty()) {
        for (size_t k = 0; k < m_kinds.size(); ++k) {
            search::Found found = m_kinds[k].find(query);
            total += found.total;
            showKind(int(k), found);
            m_hits[k] = std::move(found.hits);
        }
    }
    m_status->setText(query.isEmpty() ? QString()
                      : total == 0    ? QStringLiteral("見つかりませんでした。")
                                      : count(total) + QStringLiteral("見つかりました。"));
}

// A heading with the tab's caption and how many, then one row per record; what
// lies beyond the rows kept is only counted.
void TFormSearch::showKind(int kind, const search::Found& found) {
    if (found.total == 0)
        return;
    auto* heading = new QTreeWidgetItem(m_results);
    heading->setText(0, m_kinds[size_t(kind)].caption + QStringLiteral("　") + count(found.total));
    heading->setFirstColumnSpanned(true);
    heading->setFlags(Qt::ItemIsEnabled);
    QFont bold = font();
    bold.setBold(true);
    heading->setFont(0, bold);
    QList<QTreeWidgetItem*> rows;
    rows.reserve(qsizetype(found.hits.size()) + 1);
    for (size_t i = 0; i < found.hits.size(); ++i) {
        auto* item = new QTreeWidgetItem({found.hits[i].title, found.hits[i].detail});
        item->setData(0, kKindRole, kind);
        item->setData(0, kHitRole, int(i));
        item->setToolTip(1, found.hits[i].detail);
        rows << item;
    }
    if (found.total > int(found.hits.size())) {
        auto* rest =
            new QTreeWidgetItem({QStringLiteral("ほか ") + count(found.total - int(found.hits.size())) +
                                 QStringLiteral("（言葉を足すと絞り込めます）")});
        rest->setFirstColumnSpanned(true);
        rest->setFlags(Qt::NoItemFlags);
        rows << rest;
    }
    heading->addChildren(rows);
    heading->setExpanded(true);
}

QTreeWidgetItem* TFormSearch::firstHit() const {
    for (int i = 0; i < m_results->topLevelItemCount(); ++i)
        if (QTreeWidgetItem* heading = m_results->topLevelItem(i); heading->childCount() > 0)
            return heading->child(0);
    return nullptr;
}

void TFormSearch::OpenClick() {
    QTreeWidgetItem* current = m_results->currentItem();
    open(isHit(current) ? current : firstHit());
}

// The window closes first, so the main window shows the record with the focus.
void TFormSearch::open(QTreeWidgetItem* item) {
    if (!isHit(item))
        return;
    const size_t kind = size_t(item->data(0, kKindRole).toInt());
    const size_t hit = size_t(item->data(0, kHitRole).toInt());
    accept();
    m_kinds[kind].open(m_hits[kind][hit]);
}

bool TFormSearch::isHit(const QTreeWidgetItem* item) {
    return item && item->data(0, kKindRole).isValid();
}

// Up and down step from record to record, over the headings; down from the
// field goes into the results, to the first record found.
bool TFormSearch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (watched == m_field && key == Qt::Key_Down) {
        if (QTreeWidgetItem* first = firstHit()) {
            m_results->setFocus();
            m_results->setCurrentItem(first);
            return true;
        }
    }
    if (watched == m_results && (key == Qt::Key_Down || key == Qt::Key_Up)) {
        QTreeWidgetItem* item = m_results->currentItem();
        do
            item = key == Qt::Key_Down ? m_results->itemBelow(item) : m_results->itemAbove(item);
        while (item && !isHit(item));
        if (item)
            m_results->setCurrentItem(item);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
