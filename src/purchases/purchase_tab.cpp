#include "purchases/purchase_tab.h"

#include "widgets/app_context.h"
#include "widgets/list_view3.h"
#include "widgets/tab_layout.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

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
    layout->addLayout(filters);

    m_list = new TListView3(this);
    m_list->setObjectName(QStringLiteral("costList"));
    m_list->setColumns({QStringLiteral("年/月/日"), QStringLiteral("購入内容"), QStringLiteral("金額")},
                       {70, 400, 100});
    m_list->headerItem()->setTextAlignment(3, Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(m_list, 1);

    auto* row = tabs::commandRow();
    row->addWidget(tabs::button(QStringLiteral("追加"), "costAddButton", this));
    row->addWidget(tabs::button(QStringLiteral("変更"), "costChangeButton", this));
    row->addWidget(tabs::button(QStringLiteral("表示"), "costShowButton", this));
    row->addWidget(tabs::button(QStringLiteral("削除"), "costDeleteButton", this));
    m_total = new QLabel(QStringLiteral("合計"), this);
    m_total->setObjectName(QStringLiteral("costTotal"));
    m_total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    tabs::addRight(row, m_total);
    layout->addLayout(row);
}

QComboBox* TPurchaseTab::makeFilter(const char* objectName) {
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setEditable(false);
    box->setMaxVisibleItems(20);
    box->setMinimumWidth(80);
    box->addItem(QStringLiteral("すべて"));
    return box;
}
