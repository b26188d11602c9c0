#include "plans/group_list_dialog.h"

#include "history/command_scope.h"
#include "plans/dialog_support.h"
#include "plans/group_dialog.h"
#include "plans/plan_records.h"
#include "widgets/list_view3.h"
#include "widgets/platform.h"
#include "widgets/tab_layout.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

constexpr int kCountColumn = 2;
constexpr int kOrderColumn = 3;

const QString kChooseGroup = QStringLiteral("グループを選択してください。");

// The question names only the group; what it holds goes with it.
QString entriesGoToo(const TGroup& group) {
    const int crops = group.CropCount();
    const int dummies = group.count() - crops;
    if (crops > 0 && dummies > 0)
        return QStringLiteral("\r\nこの畝の作付 %1 件とダミー %2 件も削除されます。").arg(crops).arg(dummies);
    if (crops > 0)
        return QStringLiteral("\r\nこの畝の作付 %1 件も削除されます。").arg(crops);
    if (dummies > 0)
        return QStringLiteral("\r\nこの畝のダミー %1 件も削除されます。").arg(dummies);
    return QString();
}

} // namespace

TForm3::TForm3(Platform& platform, TGroupList& plan, const QString& planName, const QString& planFile,
               QWidget* parent)
    : FormDialog(platform, parent), m_platform(platform), m_plan(plan), m_planName(planName),
      m_planFile(planFile) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("グループ設定"));

    m_list = new TListView3(this);
    m_list->setObjectName(QStringLiteral("groupList"));
    m_list->setColumns({QStringLiteral("グループ名"), QStringLiteral("作物数"), QStringLiteral("表示順")},
                       {200, 60, 60});
    m_list->setColumnAlignment(kCountColumn, Qt::AlignCenter);
    m_list->setColumnAlignment(kOrderColumn, Qt::AlignCenter);
    m_list->setTexts<TGroup>([](const TGroup& group, int column) {
        switch (column) {
        case kCountColumn:
            return QString::number(group.CropCount());
        case kOrderColumn:
            return QString::number(group.order);
        default:
            return group.name;
        }
    });

    auto* row = tabs::commandRow();
    auto add = [this, row](const QString& caption, const char* name, void (TForm3::*handler)()) {
        QPushButton* b = tabs::button(caption, name, this);
        connect(b, &QPushButton::clicked, this, handler);
        row->addWidget(b);
    };
    add(QStringLiteral("追加"), "groupAddButton", &TForm3::AddButtonClick);
    add(QStringLiteral("変更"), "groupChangeButton", &TForm3::ChangeButtonClick);
    add(QStringLiteral("削除"), "groupDeleteButton", &TForm3::DeleteButtonClick);
    row->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(row);
    connect(m_list, &TListView3::opened, this, &TForm3::ChangeButtonClick);
    resize(400, 300);
}

void TForm3::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

void TForm3::FormShow() {
    m_changed = false;
    fillList();
}

// Sorting here also sorts the plan itself: the next chart and save follow it.
void TForm3::fillList() {
    m_plan.SortGroups();
    std::vector<const TGroup*> groups;
    for (int i = 0; i < m_plan.count(); ++i)
        groups.push_back(m_plan.at(i));
    m_list->setRecords(groups);
}

TGroup* TForm3::checkedGroup() {
    auto* group = m_list->checkedRecord<TGroup>();
    if (!group)
        m_platform.message(kChooseGroup);
    return group;
}

bool TForm3::saveChange() {
    const bool saved = m_plan.SaveToFile(m_platform.dataFolder(), m_planName, m_planFile, m_platform);
    m_changed = true;
    fillList();
    return saved;
}

void TForm3::AddButtonClick() {
    const history::CommandScope change(m_history, QStringLiteral("作付計画「グループ設定・追加」"));
    TForm1 dialog(m_platform, m_plan, nullptr, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The order is worked out before the group joins the plan, so it goes after the last one.
    const int order = OrderFromText(m_plan, dialog.orderText());
    TGroup* group = m_plan.add();
    group->name = dialog.nameText();
    group->order = order;
    saveChange();
}

void TForm3::ChangeButtonClick() {
    const history::CommandScope change(m_history, QStringLiteral("作付計画「グループ設定・変更」"));
    TGroup* group = checkedGroup();
    if (!group)
        return;
    TForm1 dialog(m_platform, m_plan, group, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    group->name = dialog.nameText();
    group->order = OrderFromText(m_plan, dialog.orderText());
    saveChange();
}

void TForm3::DeleteButtonClick() {
    const history::CommandScope change(m_history, QStringLiteral("作付計画「グループ設定・削除」"));
    TGroup* group = checkedGroup();
    if (!group)
        return;
    if (!m_platform.question(group->name + QStringLiteral(" を削除します。よろしいですか？") +
                             entriesGoToo(*group)))
        return;
    m_list->removeRecord(group);
    m_plan.remove(m_plan.indexOf(group));
    if (saveChange())
        m_deleted = true;
}
