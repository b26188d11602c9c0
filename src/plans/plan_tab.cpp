#include "plans/plan_tab.h"

#include "widgets/app_context.h"
#include "widgets/tab_layout.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

TPlanTab::TPlanTab(AppContext& context, QWidget* parent) : QWidget(parent), m_context(context) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs::hint(QStringLiteral("計画を選択　→　「追加」ボタンから作付計画を作成します。"
                                                "「画像で保存」はブログへの掲載用です。"),
                                 this));
    auto* buttons = new QHBoxLayout;
    buildPlanButtons(buttons);
    layout->addLayout(buttons);

    m_chartArea = new QScrollArea(this);
    m_chartArea->setObjectName(QStringLiteral("chartArea"));
    m_chartView = new QLabel;
    m_chartView->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_chartArea->setWidget(m_chartView);
    m_chartArea->setBackgroundRole(QPalette::Base);
    layout->addWidget(m_chartArea, 1);

    auto* row = tabs::commandRow();
    row->addWidget(tabs::button(QStringLiteral("計画名変更"), "planRenameButton", this));
    row->addWidget(tabs::button(QStringLiteral("色設定"), "planColourButton", this));
    row->addWidget(tabs::button(QStringLiteral("グループ設定"), "planGroupButton", this));
    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("作付け計画："), this));
    row->addWidget(tabs::button(QStringLiteral("追加"), "planAddButton", this));
    row->addWidget(tabs::button(QStringLiteral("変更"), "planChangeButton", this));
    row->addWidget(tabs::button(QStringLiteral("削除"), "planDeleteButton", this));
    tabs::addRight(row, tabs::button(QStringLiteral("作付計画を画像で保存"), "planSaveImageButton", this));
    layout->addLayout(row);
}

void TPlanTab::buildPlanButtons(QHBoxLayout* row) {
    static const char* const captions[] = {"計画１", "計画２", "計画３", "計画４",
                                           "計画５", "計画６", "計画７"};
    m_planButtons = new QButtonGroup(this);
    m_planButtons->setExclusive(true);
    auto make = [this](const QString& caption, int position) {
        auto* b = new QToolButton(this);
        b->setText(caption);
        b->setObjectName(QStringLiteral("planButton%1").arg(position));
        b->setCheckable(true);
        b->setMinimumWidth(72);
        m_planButtons->addButton(b, position);
        return b;
    };
    for (int i = 0; i < 7; ++i)
        row->addWidget(make(QString::fromUtf8(captions[i]), i + 1));
    row->addStretch(1);
    row->addWidget(make(QStringLiteral("サンプル"), 8));
    m_planButtons->button(1)->setChecked(true);
}
