#include "harvest/this_day_window.h"

#include "harvest/harvest_book.h"
#include "harvest/this_day.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

namespace {

struct Line {
    QDate date;
    QString kind;
    QString text;
};

QString harvestText(const TShukaku& h) {
    QString text = h.crop + QLatin1Char(' ') + h.AmountWithUnit();
    if (!h.hatake.isEmpty())
        text += QStringLiteral("（") + h.hatake + QStringLiteral("）");
    return text;
}

} // namespace

TThisDayWindow::TThisDayWindow(const THarvestBook& book, const QDate& around, QWidget* parent)
    : QDialog(parent), m_rows(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("thisDayWindow"));
    setWindowTitle(QStringLiteral("この日の記録"));
    const ThisDay found = ThisDayInEarlierYears(book.shukaku, book.nikki, around);
    // Newest year first; within a year, by date, harvests before entries of one day.
    std::vector<Line> lines;
    for (const TShukaku* h : found.harvests)
        lines.push_back({h->date, QStringLiteral("収穫"), harvestText(*h)});
    for (const TNikki* e : found.entries)
        lines.push_back({e->date, QStringLiteral("日誌"), e->OneLine()});
    std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
        if (a.date.year() != b.date.year())
            return a.date.year() > b.date.year();
        return a.date < b.date;
    });
    m_rows->setObjectName(QStringLiteral("thisDayRows"));
    m_rows->setRootIsDecorated(false);
    m_rows->setHeaderLabels({QStringLiteral("年/月/日"), QStringLiteral("種類"), QStringLiteral("内容")});
    for (const Line& line : lines)
        new QTreeWidgetItem(m_rows, {line.date.toString(QStringLiteral("yyyy/M/d")), line.kind, line.text});
    m_rows->header()->resizeSection(0, 90);
    m_rows->header()->resizeSection(1, 50);

    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel(QStringLiteral("%1月%2日の前後%3日（前の年まで）")
                                   .arg(around.month())
                                   .arg(around.day())
                                   .arg(kThisDaySpan),
                               this);
    heading->setObjectName(QStringLiteral("thisDayHeading"));
    layout->addWidget(heading);
    if (lines.empty()) {
        auto* none = new QLabel(QStringLiteral("前の年の同じころの記録はありません。"), this);
        none->setObjectName(QStringLiteral("thisDayNone"));
        layout->addWidget(none);
    }
    layout->addWidget(m_rows, 1);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("thisDayClose"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(560, 380);
}
