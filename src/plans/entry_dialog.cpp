#include "plans/entry_dialog.h"

#include "crops/crop_records.h"
#include "plans/dialog_support.h"
#include "plans/group_dialog.h"
#include "widgets/number_list.h"
#include "widgets/number_text.h"
#include "widgets/platform.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

QLabel* unit(const QString& text, QWidget* parent) {
    return new QLabel(text, parent);
}

} // namespace

TForm9::TForm9(Platform& platform, const Inputs& inputs, QWidget* parent)
    : FormDialog(platform, parent), m_platform(platform), m_in(inputs), m_entry(inputs.entry) {
    setObjectName(QStringLiteral("TForm9"));
    buildLayout();
    setFixedSize(sizeHint().expandedTo(QSize(420, 0)));
}

QComboBox* TForm9::choiceList(const char* objectName, int first, int last) {
    auto* box = new QComboBox(this);
    box->setObjectName(QString::fromLatin1(objectName));
    for (int i = first; i <= last; ++i)
        box->addItem(QString::number(i));
    box->setMaxVisibleItems(12);
    box->setCurrentIndex(-1);
    typeAheadByNumber(box);
    return box;
}

void TForm9::buildLayout() {
    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);

    m_groups = new QComboBox(this);
    m_groups->setObjectName(QStringLiteral("groupCombo"));
    m_groups->setMinimumWidth(200);
    m_groupAdd = new QPushButton(QStringLiteral("追加"), this);
    m_groupAdd->setObjectName(QStringLiteral("groupAddButton"));
    m_groupAdd->setFocusPolicy(Qt::ClickFocus);
    m_groupAdd->setAutoDefault(false);
    m_groupAdd->setFixedWidth(48);
    auto* groupRow = new QHBoxLayout;
    groupRow->addWidget(m_groups);
    groupRow->addWidget(m_groupAdd);
    groupRow->addStretch(1);
    grid->addWidget(new QLabel(QStringLiteral("グループ"), this), 0, 0);
    grid->addLayout(groupRow, 0, 1);

    m_period = {choiceList("stTukiCombo", 1, 12), choiceList("stShuuCombo", 1, 5),
                choiceList("edTukiCombo", 1, 12), choiceList("edShuuCombo", 1, 5)};
    auto* periodRow = new QHBoxLayout;
    const QString units[] = {QStringLiteral("月"), QStringLiteral("週～"), QStringLiteral("月"),
                             QStringLiteral("週")};
    for (size_t i = 0; i < m_period.size(); ++i) {
        periodRow->addWidget(m_period[i]);
        periodRow->addWidget(unit(units[i], this));
    }
    periodRow->addStretch(1);
    grid->addWidget(new QLabel(QStringLiteral("栽培期間"), this), 1, 0);
    grid->addLayout(periodRow, 1, 1);

    m_reference = new QListWidget(this);
    m_reference->setObjectName(QStringLiteral("referenceList"));
    m_reference->setSelectionMode(QAbstractItemView::NoSelection);
    m_reference->setFocusPolicy(Qt::NoFocus);
    m_reference->setFixedHeight(m_reference->fontMetrics().height() * 5 + 12);
    grid->addWidget(new QLabel(QStringLiteral("作物に設定された栽培期間（参照用）"), this), 2, 1);
    grid->addWidget(m_reference, 3, 1);

    m_rowList = new QComboBox(this);
    m_rowList->setObjectName(QStringLiteral("rowCombo"));
    m_rowList->setMinimumWidth(280);
    grid->addWidget(new QLabel(QStringLiteral("位置"), this), 4, 0);
    grid->addWidget(m_rowList, 4, 1, Qt::AlignLeft);

    m_insert = new QCheckBox(QStringLiteral("前に挿入"), this);
    m_insert->setObjectName(QStringLiteral("insertCheck"));
    m_down = new QLineEdit(QStringLiteral("0"), this);
    m_down->setObjectName(QStringLiteral("downEdit"));
    m_down->setFixedWidth(50);
    useHalfWidthNumbers(m_down);
    auto* placeRow = new QHBoxLayout;
    placeRow->addWidget(m_insert);
    placeRow->addSpacing(16);
    placeRow->addWidget(m_down);
    placeRow->addWidget(unit(QStringLiteral("ピクセル下へ"), this));
    placeRow->addStretch(1);
    grid->addLayout(placeRow, 5, 1);

    grid->setRowMinimumHeight(6, 6);
    grid->addLayout(okCancelRow(m_ok), 7, 0, 1, 2);

    connect(m_groups, &QComboBox::currentIndexChanged, this, &TForm9::GroupChange);
    connect(m_groupAdd, &QPushButton::clicked, this, &TForm9::GroupAddButtonClick);
    connect(m_ok, &QPushButton::clicked, this, &TForm9::OkButtonClick);
}

void TForm9::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

// In change mode the entry's own name stands in the caption, so an entry whose
// crop left the catalogue still shows what it is.
QString TForm9::cropName() const {
    if (m_in.entry)
        return m_in.entry->name;
    return m_in.crop ? m_in.crop->name : QString();
}

bool TForm9::isDummy() const {
    return cropName() == kDummyCropName;
}

// The caption names what the dialog does, as the other dialogs' modes do:
// 作付計画へ追加（トマト） when adding, 作付計画の変更（トマト） when changing.
void TForm9::FormShow() {
    const QString caption =
        m_in.entry ? QStringLiteral("作付計画の変更（") : QStringLiteral("作付計画へ追加（");
    setWindowTitle(caption + (isDummy() ? QStringLiteral("ダミー") : cropName()) + QStringLiteral("）"));
    fillGroups();
    m_reference->clear();
    if (m_in.crop)
        for (int i = 0; i < m_in.crop->jiki.count(); ++i)
            m_reference->addItem(PeriodText(*m_in.crop->jiki.at(i)));
    if (isDummy()) {
        for (QComboBox* box : m_period)
            box->setEnabled(false);
        m_reference->setEnabled(false);
        m_down->setEnabled(false);
    }
    if (m_in.entry)
        showEntry();
}

void TForm9::fillGroups() {
    {
        const QSignalBlocker blocker(m_groups);
        m_groups->clear();
        for (int i = 0; i < m_in.plan->count(); ++i)
            m_groups->addItem(m_in.plan->at(i)->name,
                              QVariant::fromValue(reinterpret_cast<quintptr>(m_in.plan->at(i))));
        m_groups->setCurrentIndex(-1);
    }
    GroupChange();
}

TGroup* TForm9::selectedGroup() const {
    if (m_groups->currentIndex() < 0)
        return nullptr;
    return reinterpret_cast<TGroup*>(m_groups->currentData().value<quintptr>());
}

void TForm9::showEntry() {
    plandlg::selectByText(m_groups, m_in.group ? m_in.group->name : QString());
    const QString texts[] = {m_entry->StTuki, m_entry->StShuu, m_entry->EdTuki, m_entry->EdShuu};
    for (size_t i = 0; i < m_period.size(); ++i)
        plandlg::selectByText(m_period[i], texts[i]);
    for (int i = 0; i < m_rows.count(); ++i)
        if (m_rows.at(i)->ichi == m_entry->ichi)
            m_rowList->setCurrentIndex(i);
    m_down->setText(QString::number(m_entry->down));
}

void TForm9::GroupChange() {
    m_rowList->clear();
    m_rows.clear();
    const TGroup* group = selectedGroup();
    if (group) {
        group->BuildRows(m_rows);
        for (int i = 0; i < m_rows.count(); ++i)
            m_rowList->addItem(RowCaption(*m_rows.at(i)));
        // Stands for a new row after the last one; always the last item.
        m_rowList->addItem(QStringLiteral("最終行へ追加"));
    }
    m_rowList->setCurrentIndex(m_rowList->count() == 1 ? 0 : -1);
}

// The group is saved at once: it stays in the plan even if this dialog is cancelled.
void TForm9::GroupAddButtonClick() {
    TForm1 dialog(m_platform, *m_in.plan, nullptr, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int order = OrderFromText(*m_in.plan, dialog.orderText());
    TGroup* group = m_in.plan->add();
    group->name = dialog.nameText();
    group->order = order;
    m_in.plan->SaveToFile(m_platform.dataFolder(), m_in.planName, m_in.planFile, m_platform);
    fillGroups();
    plandlg::selectByText(m_groups, group->name);
}

bool TForm9::checksPass() {
    if (!selectedGroup())
        return !plandlg::refuse(m_platform, QStringLiteral("グループを選択してください。"), m_groups);
    if (!isDummy())
        for (QComboBox* box : m_period)
            if (box->currentIndex() < 0)
                return !plandlg::refuse(m_platform, QStringLiteral("栽培期間を選択してください。"),
                                        m_period[0]);
    if (m_rowList->currentIndex() < 0)
        return !plandlg::refuse(m_platform, QStringLiteral("位置を選択してください。"), m_rowList);
    if (!isDummy() && !wholeNumber(m_down->text()))
        return !plandlg::refuse(m_platform, QStringLiteral("整数のみ入力してください。"), m_down);
    return true;
}

// The rows offered are those of the group selected; for the entry's own group
// they include the entry's old row.
int TForm9::chosenRow() const {
    const int index = m_rowList->currentIndex();
    return index < m_rows.count() ? m_rows.at(index)->ichi : m_rows.MaxRow() + 1;
}

void TForm9::placeEntry(TGroup* target) {
    if (!m_entry) {
        m_entry = target->add();
        m_entry->name = cropName();
    } else if (m_in.group && target != m_in.group) {
        target->append(m_in.group->detach(m_in.group->indexOf(m_entry)));
    }
}

void TForm9::OkButtonClick() {
    if (!checksPass())
        return;
    TGroup* target = selectedGroup();
    const int row = chosenRow();
    placeEntry(target);
    // Out of the way while the rows from the chosen one on move down.
    m_entry->ichi = -1;
    if (m_insert->isChecked())
        target->ShiftRows(row);
    if (!isDummy()) {
        m_entry->StTuki = m_period[0]->currentText();
        m_entry->StShuu = m_period[1]->currentText();
        m_entry->EdTuki = m_period[2]->currentText();
        m_entry->EdShuu = m_period[3]->currentText();
        m_entry->down = *wholeNumber(m_down->text());
    }
    m_entry->ichi = row;
    accept();
}
