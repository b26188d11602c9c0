#include "crops/crop_tab.h"

#include "crops/crop_records.h"
#include "widgets/app_context.h"
#include "widgets/list_view3.h"
#include "widgets/tab_layout.h"

#include <QVBoxLayout>

TCropTab::TCropTab(AppContext& context, QWidget* parent) : QWidget(parent), m_context(context) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs::hint(QStringLiteral("作物の情報を「追加」ボタンから登録します。"
                                                "「表示」からの印刷は畑へ持って行く用、保存はブログ用です。"),
                                 this));
    m_list = new TListView3(this);
    m_list->setObjectName(QStringLiteral("cropList"));
    m_list->setColumns({QStringLiteral("作物名"), QStringLiteral("お気に入り品種"),
                        QStringLiteral("栽培時期"), QStringLiteral("間隔")},
                       {130, 130, 170, 200});
    layout->addWidget(m_list, 1);

    auto* row = tabs::commandRow();
    row->addWidget(tabs::button(QStringLiteral("追加"), "cropAddButton", this));
    row->addWidget(tabs::button(QStringLiteral("変更"), "cropChangeButton", this));
    row->addWidget(tabs::button(QStringLiteral("表示"), "cropShowButton", this));
    row->addWidget(tabs::button(QStringLiteral("削除"), "cropDeleteButton", this));
    tabs::addRight(row, tabs::button(QStringLiteral("印刷"), "cropPrintButton", this));
    layout->addLayout(row);
}

void TCropTab::RefreshCropList() {
    m_list->setUpdatesEnabled(false);
    m_list->clear();
    for (int i = 0; i < m_context.crops->count(); ++i) {
        const TSakumotu* crop = m_context.crops->at(i);
        if (crop->name == kDummyCropName)
            continue;
        m_list->addRow({crop->name, crop->VarietiesText(), PeriodsText(crop->jiki), crop->SpacingText()},
                       crop);
    }
    m_list->setUpdatesEnabled(true);
}
