#include "purchases/purchase_tab.h"

#include "history/command_scope.h"
#include "purchases/choice_select.h"
#include "purchases/purchase_chart_window.h"
#include "purchases/purchase_dialog.h"
#include "purchases/purchase_records.h"
#include "widgets/app_context.h"
#include "widgets/list_view3.h"
#include "widgets/number_list.h"
#include "widgets/platform.h"
#include "widgets/show_record.h"
#include "widgets/tab_layout.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

namespace {

const QString kChooseCost = QStringLiteral("購入履歴を選択してください。");

} // namespace

TPurchaseTab::TPurchaseTab(AppContext& context, QWidget* parent) : QWidget(parent), m_context(context) {
    auto* layout = new QVBoxLayout(this);
    QLabel* hint =
        tabs::hint(QStringLiteral("購入した商品と金額を「追加」ボタンから登録します。"
                                  "年や月を選択することで、購入した金額の合計を知ることができます。"),
                   this);
    hint->setWordWrap(true);
    layout->addWidget(hint);

    auto* filters = new QHBoxLayout;
    m_years = makeFilter("yearFilter");
    m_months = makeFilter("monthFilter");
    filters->addWidget(m_years);
    filters->addWidget(new QLabel(QStringLiteral("年"), this));
    filters->addSpacing(8);
    filters->addWidget(m_months);
    filters->addWidget(new QLabel(QStringLiteral("月"), this));
    filters->addStretch(1);
    filters->addWidget(chartButton());
    layout->addLayout(filters);
    connect(m_years, &QComboBox::currentIndexChanged, this, &TPurchaseTab::YearChanged);
    connect(m_months, &QComboBox::currentIndexChanged, this, &TPurchaseTab::MonthChanged);

    m_list = new TListView3(this);
    m_list->setObjectName(QStringLiteral("costList"));
    m_list->setColumns({QStringLiteral("年/月/日"), QStringLiteral("購入内容"), QStringLiteral("金額")},
                       {70, 400, 100});
    m_list->setColumnAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    m_list->setTexts<TCost>([](const TCost& cost, int column) {
        switch (column) {
        case 1:
            return cost.DateText();
        case 2:
            return cost.NamesText();
        default:
            return MoneyText(cost.sina.LinesTotal()) + kCostYenSuffix;
        }
    });
    // The rows keep the date order: a header click sorts nothing.
    m_list->header()->setSectionsClickable(false);
    connect(m_list, &TListView3::opened, this, &TPurchaseTab::ChangeButtonClick);
    layout->addWidget(m_list, 1);

    auto* row = tabs::commandRow();
    row->addWidget(commandButton(QStringLiteral("追加"), "costAddButton", &TPurchaseTab::AddButtonClick));
    row->addWidget(
        commandButton(QStringLiteral("変更"), "costChangeButton", &TPurchaseTab::ChangeButtonClick));
    row->addWidget(commandButton(QStringLiteral("表示"), "costShowButton", &TPurchaseTab::ShowButtonClick));
    row->addWidget(
        commandButton(QStringLiteral("削除"), "costDeleteButton", &TPurchaseTab::DeleteButtonClick));
    m_total = new QLabel(QStringLiteral("合計"), this);
    m_total->setObjectName(QStringLiteral("costTotal"));
    m_total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    tabs::addRight(row, m_total);
    layout->addLayout(row);

    showCostCard = [this](TCost& cost) {
        if (m_context.showPurchaseCard)
            m_context.showPurchaseCard(cost, window());
    };
}

// Sits at the far end of the filter row, as tall as the filters, so no other
// control moves for it.
QPushButton* TPurchaseTab::chartButton() {
    QPushButton* b =
        commandButton(QStringLiteral("グラフ"), "costChartButton", &TPurchaseTab::ChartButtonClick);
    b->setFixedHeight(m_years->sizeHint().height());
    return b;
}

QComboBox* TPurchaseTab::makeFilter(const char* objectName) {
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setEditable(false);
    box->setMaxVisibleItems(20);
    box->setMinimumWidth(80);
    box->addItem(kCostAllEntries);
    typeAheadByNumber(box);
    return box;
}

QPushButton* TPurchaseTab::commandButton(const QString& caption, const char* objectName,
                                         void (TPurchaseTab::*handler)()) {
    QPushButton* b = tabs::button(caption, objectName, this);
    connect(b, &QPushButton::clicked, this, handler);
    return b;
}

// --- filters and rows ---

void TPurchaseTab::RebuildYears() {
    const QString remembered = m_years->currentText();
    FillChoices(m_years, QStringList{kCostAllEntries} + m_context.costs->YearList());
    SelectByText(m_years, remembered);
}

void TPurchaseTab::RebuildMonths() {
    const QString remembered = m_months->currentText();
    FillChoices(m_months, QStringList{kCostAllEntries} + m_context.costs->MonthList(m_years->currentText()));
    SelectByText(m_months, remembered);
}

void TPurchaseTab::RefreshList() {
    const TCostRefList shown = m_context.costs->Filter(m_years->currentText(), m_months->currentText());
    m_list->setRecords(shown.items());
    m_total->setText(kCostTotalPrefix + MoneyText(shown.ListTotal()) + kCostYenSuffix);
    emit refreshed();
}

void TPurchaseTab::YearChanged() {
    RebuildMonths();
    RefreshList();
}

void TPurchaseTab::MonthChanged() {
    RefreshList();
}

// --- commands ---

QString TPurchaseTab::initialFrom(const QComboBox* filter) const {
    const QString text = filter->currentText();
    return text == kCostAllEntries ? QString() : text;
}

TCost* TPurchaseTab::checkedCost() {
    TCost* cost = m_list->checkedRecord<TCost>();
    if (!cost)
        m_context.platform->message(kChooseCost);
    return cost;
}

// The filters move to the purchase's year and month, so its row is shown.
void TPurchaseTab::followCost(const TCost& cost) {
    RebuildYears();
    RebuildMonths();
    SelectByText(m_years, cost.nen);
    YearChanged();
    SelectByText(m_months, cost.tuki);
    MonthChanged();
}

void TPurchaseTab::AddButtonClick() {
    const history::CommandScope change(m_context.history, QStringLiteral("購入履歴「追加」"));
    TForm15 dialog(*m_context.platform, *m_context.costs, nullptr, initialFrom(m_years),
                   initialFrom(m_months), QString(), window());
    if (dialog.exec() != QDialog::Accepted || !dialog.cost())
        return;
    followCost(*dialog.cost());
}

void TPurchaseTab::ChangeButtonClick() {
    const history::CommandScope change(m_context.history, QStringLiteral("購入履歴「変更」"));
    TCost* cost = checkedCost();
    if (!cost)
        return;
    TForm15 dialog(*m_context.platform, *m_context.costs, cost, cost->nen, cost->tuki, cost->hi, window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    followCost(*cost);
    CheckByData(cost, m_list);
}

void TPurchaseTab::ShowButtonClick() {
    TCost* cost = checkedCost();
    if (cost && showCostCard)
        showCostCard(*cost);
}

// The question gives the plain sum, without separators.
void TPurchaseTab::DeleteButtonClick() {
    const history::CommandScope change(m_context.history, QStringLiteral("購入履歴「削除」"));
    TCost* cost = checkedCost();
    if (!cost)
        return;
    QString question = cost->DateText() + QStringLiteral(" の ") + QString::number(cost->sina.LinesTotal()) +
                       QStringLiteral("円 を削除します。よろしいですか？");
    // The question names only the date and the sum; a purchase of several things takes them all.
    if (cost->sina.count() > 1)
        question += QStringLiteral("\r\n購入内容 %1 件も削除されます。").arg(cost->sina.count());
    if (!m_context.platform->question(question))
        return;
    m_list->removeRecord(cost);
    m_context.costs->remove(m_context.costs->indexOf(cost));
    const bool saved = m_context.costs->SaveToFile(m_context.platform->dataFolder(), *m_context.platform);
    RebuildYears();
    YearChanged();
    RebuildMonths();
    RefreshList();
    if (saved)
        m_context.tellUndoable(kDeletedNote);
}

// A purchase the filters hide brings them to its year and month, as a change does.
void TPurchaseTab::ShowCost(const TCost* cost) {
    if (TickAndShow(cost, m_list))
        return;
    followCost(*cost);
    TickAndShow(cost, m_list);
}

QString TPurchaseTab::filterYear() const {
    return m_years->currentText();
}

QString TPurchaseTab::filterMonth() const {
    return m_months->currentText();
}

void TPurchaseTab::ChartButtonClick() {
    TPurchaseChartWindow* chart = showPurchaseChart(*this, *this, m_context);
    connect(this, &TPurchaseTab::refreshed, chart, &TPurchaseChartWindow::Redraw, Qt::UniqueConnection);
}
