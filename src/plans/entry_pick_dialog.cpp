#include "plans/entry_pick_dialog.h"

#include "plans/dialog_support.h"
#include "plans/plan_records.h"
#include "widgets/list_view3.h"
#include "widgets/platform.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TForm6::TForm6(Platform& platform, TGroupList& plan, bool includeDummies, QWidget* parent)
    : FormDialog(platform, parent), m_platform(platform), m_plan(plan), m_includeDummies(includeDummies) {
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(QStringLiteral("作物選択"));

    m_list = new TListView3(this);
    m_list->setObjectName(QStringLiteral("entryList"));
    m_list->setColumns({QStringLiteral("グループ名"), QStringLiteral("作物")}, {130, 240});
    m_list->header()->resizeSection(0, 23);
    m_list->setTexts<TSakumotu2>([this](const TSakumotu2& entry, int column) {
        if (column == 2)
            return EntryPickText(entry);
        const TGroup* group = m_plan.GroupOf(&entry);
        return group ? group->name : QString();
    });

    QPushButton* ok = nullptr;
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(QStringLiteral("作付計画で選択されている計画での作物を表示しています。"), this));
    layout->addWidget(m_list, 1);
    layout->addLayout(okCancelRow(ok));
    connect(ok, &QPushButton::clicked, this, &TForm6::OkButtonClick);
    // A double click picks the row as OK does.
    connect(m_list, &TListView3::opened, this, &TForm6::OkButtonClick);
    setFixedSize(430, 360);
}

void TForm6::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

void TForm6::FormShow() {
    std::vector<const TSakumotu2*> entries;
    for (int g = 0; g < m_plan.count(); ++g) {
        const TGroup* group = m_plan.at(g);
        for (int i = 0; i < group->count(); ++i)
            if (m_includeDummies || !group->at(i)->IsDummy())
                entries.push_back(group->at(i));
    }
    m_list->setRecords(entries);
}

void TForm6::OkButtonClick() {
    if (m_list->CheckedIndex() == -1) {
        plandlg::refuse(m_platform, QStringLiteral("作物を選択してください。"), m_list);
        return;
    }
    m_entry = m_list->checkedRecord<TSakumotu2>();
    m_group = m_plan.GroupOf(m_entry);
    accept();
}

QString EntryPickText(const TSakumotu2& entry) {
    const QString row = QString::number(entry.ichi) + QStringLiteral("行目 ");
    if (entry.IsDummy())
        return row + QStringLiteral("ダミー");
    return row + entry.name + QStringLiteral("（") + EntryPeriodText(entry) + QStringLiteral("）");
}
