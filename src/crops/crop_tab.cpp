#include "crops/crop_tab.h"

#include "crops/crop_dialog.h"
#include "crops/crop_list_print.h"
#include "crops/crop_records.h"
#include "history/command_scope.h"
#include "widgets/app_context.h"
#include "widgets/list_view3.h"
#include "widgets/platform.h"
#include "widgets/show_record.h"
#include "widgets/tab_layout.h"

#include <QCollator>
#include <QHeaderView>
#include <QVBoxLayout>

namespace {

const QString kChooseCrop = QStringLiteral("作物を選択してください。");

} // namespace

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
    m_list->setTexts<TSakumotu>([](const TSakumotu& crop, int column) {
        switch (column) {
        case 1:
            return crop.name;
        case 2:
            return crop.VarietiesText();
        case 3:
            return PeriodsText(crop.jiki);
        default:
            return crop.SpacingText();
        }
    });
    // Sorting is ours, ascending only, so the header never shows a sort mark.
    m_list->header()->setSectionsClickable(true);
    m_list->header()->setSortIndicatorShown(false);
    connect(m_list->header(), &QHeaderView::sectionClicked, this, &TCropTab::HeaderClick);
    connect(m_list, &TListView3::opened, this, &TCropTab::ChangeButtonClick);
    layout->addWidget(m_list, 1);

    auto* row = tabs::commandRow();
    auto add = [this, row](const QString& caption, const char* name, void (TCropTab::*handler)()) {
        QPushButton* b = tabs::button(caption, name, this);
        connect(b, &QPushButton::clicked, this, handler);
        return b;
    };
    row->addWidget(add(QStringLiteral("追加"), "cropAddButton", &TCropTab::AddButtonClick));
    row->addWidget(add(QStringLiteral("変更"), "cropChangeButton", &TCropTab::ChangeButtonClick));
    row->addWidget(add(QStringLiteral("表示"), "cropShowButton", &TCropTab::ShowButtonClick));
    row->addWidget(add(QStringLiteral("削除"), "cropDeleteButton", &TCropTab::DeleteButtonClick));
    tabs::addRight(row, add(QStringLiteral("印刷"), "cropPrintButton", &TCropTab::PrintButtonClick));
    layout->addLayout(row);

    onShowCropCard = [this](TSakumotu& crop) {
        if (m_context.showCropCard)
            m_context.showCropCard(crop, window());
    };
    onPrintCropList = [this] { printCropList(*m_context.crops, *m_context.platform); };
}

void TCropTab::RefreshCropList() {
    std::vector<const TSakumotu*> shown;
    shown.reserve(size_t(m_context.crops->count()));
    for (int i = 0; i < m_context.crops->count(); ++i)
        if (m_context.crops->at(i)->name != kDummyCropName)
            shown.push_back(m_context.crops->at(i));
    m_list->setRecords(shown);
    m_sortColumn = 0;
}

TSakumotu* TCropTab::checkedCrop() {
    TSakumotu* crop = m_list->checkedRecord<TSakumotu>();
    if (!crop)
        m_context.platform->message(kChooseCrop);
    return crop;
}

void TCropTab::redrawChart() {
    if (m_context.redrawChart)
        m_context.redrawChart();
}

void TCropTab::AddButtonClick() {
    const history::CommandScope change(m_context.history, QStringLiteral("作物一覧「追加」"));
    TForm2 dialog(*m_context.platform, TForm2::ModeAdd, *m_context.crops, nullptr, window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    redrawChart();
    RefreshCropList();
}

void TCropTab::ChangeButtonClick() {
    history::CommandScope change(m_context.history, QStringLiteral("作物一覧「変更」"));
    TSakumotu* crop = checkedCrop();
    if (!crop)
        return;
    const QString oldName = crop->name;
    TForm2 dialog(*m_context.platform, TForm2::ModeChange, *m_context.crops, crop, window());
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (dialog.nameChanged() && m_context.platform->question(QStringLiteral(
                                    "作物名が変更されました。作付計画での作物名も変更しますか？")))
        renameInPlans(oldName, crop->name, change);
    redrawChart();
    RefreshCropList();
    CheckByData(crop, m_list);
}

void TCropTab::renameInPlans(const QString& oldName, const QString& newName, history::CommandScope& change) {
    Platform& platform = *m_context.platform;
    if (m_context.renameCropInPlans)
        m_context.renameCropInPlans(oldName, newName);
    // Every file is written: a kill while the message is up keeps the rename whole.
    change.close();
    if (m_context.reloadPlan)
        m_context.reloadPlan();
    platform.message(QStringLiteral("変更しました。"));
}

void TCropTab::ShowButtonClick() {
    TSakumotu* crop = checkedCrop();
    if (crop && onShowCropCard)
        onShowCropCard(*crop);
}

void TCropTab::DeleteButtonClick() {
    const history::CommandScope change(m_context.history, QStringLiteral("作物一覧「削除」"));
    TSakumotu* crop = checkedCrop();
    if (!crop)
        return;
    const QString question = crop->name + QStringLiteral(" を削除します。よろしいですか？\r\n") +
                             QStringLiteral("※作付計画からは削除されません");
    if (!m_context.platform->question(question))
        return;
    m_list->removeRecord(crop);
    m_context.crops->remove(m_context.crops->indexOf(crop));
    const bool saved = m_context.crops->SaveToFile(m_context.platform->dataFolder(), *m_context.platform);
    RefreshCropList();
    if (saved)
        m_context.tellUndoable(kDeletedNote);
}

void TCropTab::ShowCrop(const TSakumotu* crop) {
    TickAndShow(crop, m_list);
}

bool TCropTab::hasRealCrops() const {
    for (int i = 0; i < m_context.crops->count(); ++i)
        if (m_context.crops->at(i)->name != kDummyCropName)
            return true;
    return false;
}

void TCropTab::PrintButtonClick() {
    if (!hasRealCrops()) {
        m_context.platform->warning(QStringLiteral("印刷できるデータがありませんでした。"));
        return;
    }
    if (onPrintCropList)
        onPrintCropList();
}

// Ascending by the shown text under the user's collation, case ignored; the
// check column has no text to sort by.
void TCropTab::HeaderClick(int column) {
    if (column <= 0 || column >= m_list->model()->columnCount())
        return;
    m_sortColumn = column;
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_list->sortRowsByText(column, collator);
}
