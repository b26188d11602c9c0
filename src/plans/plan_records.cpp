#include "plans/plan_records.h"

#include "crops/crop_records.h"
#include "store/text_rules.h"

#include <algorithm>
#include <set>

std::optional<int> wholeNumber(const QString& text) {
    const std::optional<qint64> value =
        store::WholeNumber(text, store::Width::Bits32, store::Blanks::Refused);
    return value ? std::optional<int>(int(*value)) : std::nullopt;
}

bool TSakumotu2::IsDummy() const {
    return name == kDummyCropName;
}

QString EntryPeriodText(const TSakumotu2& entry) {
    return store::PeriodText(entry.StTuki, entry.StShuu, entry.EdTuki, entry.EdShuu);
}

QString EntryListName(const TSakumotu2& entry) {
    return entry.IsDummy() ? QStringLiteral("ダミー") : entry.name;
}

void TGroup::SortEntries() {
    std::stable_sort(m_items.begin(), m_items.end(),
                     [](const auto& a, const auto& b) { return a->ichi < b->ichi; });
}

int TGroup::CropCount() const {
    return int(std::count_if(m_items.begin(), m_items.end(), [](const auto& e) { return !e->IsDummy(); }));
}

void TGroup::ShiftRows(int n) {
    for (const auto& entry : m_items)
        if (entry->ichi >= n)
            ++entry->ichi;
}

void TGroup::RenumberRows() {
    int row = 0;
    int previousOld = 0;
    for (size_t i = 0; i < m_items.size(); ++i) {
        const int old = m_items[i]->ichi;
        if (i == 0 || old != previousOld)
            ++row;
        m_items[i]->ichi = row;
        previousOld = old;
    }
}

void TGroup::BuildRows(TIchiList& rows) const {
    rows.clear();
    for (const auto& entry : m_items) {
        TIchi* row = rows.FindRow(entry->ichi);
        if (!row) {
            row = rows.add();
            row->ichi = entry->ichi;
        }
        row->names << entry->name;
    }
}

int TGroup::RowCount() const {
    std::set<int> rows;
    for (const auto& entry : m_items)
        rows.insert(entry->ichi);
    return int(rows.size());
}

void TGroupList::SortGroups() {
    std::stable_sort(m_items.begin(), m_items.end(),
                     [](const auto& a, const auto& b) { return a->order < b->order; });
}

int TGroupList::CropCount() const {
    int n = 0;
    for (const auto& group : m_items)
        n += group->CropCount();
    return n;
}

int TGroupList::MaxOrder() const {
    if (m_items.empty())
        return 0;
    int most = m_items.front()->order;
    for (const auto& group : m_items)
        most = std::max(most, group->order);
    return most;
}

TGroup* TGroupList::FindGroup(const QString& name) const {
    return FindOtherGroup(name, nullptr);
}

TGroup* TGroupList::FindOtherGroup(const QString& name, const TGroup* group) const {
    for (const auto& item : m_items)
        if (item.get() != group && item->name == name)
            return item.get();
    return nullptr;
}

TGroup* TGroupList::GroupOf(const TSakumotu2* entry) const {
    for (const auto& group : m_items)
        if (group->indexOf(entry) >= 0)
            return group.get();
    return nullptr;
}

void TGroupList::RenameCrop(const QString& oldName, const QString& newName) {
    for (const auto& group : m_items)
        for (int i = 0; i < group->count(); ++i)
            if (group->at(i)->name == oldName)
                group->at(i)->name = newName;
}

TIchi* TIchiList::FindRow(int ichi) const {
    for (const auto& row : m_items)
        if (row->ichi == ichi)
            return row.get();
    return nullptr;
}

int TIchiList::MaxRow() const {
    if (m_items.empty())
        return 0;
    int most = m_items.front()->ichi;
    for (const auto& row : m_items)
        most = std::max(most, row->ichi);
    return most;
}

QString RowCaption(const TIchi& row) {
    QString caption = QString::number(row.ichi) + QStringLiteral("行目");
    if (row.names.isEmpty())
        return caption;
    QStringList shown;
    for (const QString& name : row.names)
        shown << (name == kDummyCropName ? QStringLiteral("ダミー") : name);
    return caption + QStringLiteral("（") + shown.join(QStringLiteral("、")) + QStringLiteral("）");
}

const std::array<PlanFileInfo, 8>& PlanFiles() {
    static const std::array<PlanFileInfo, 8> files = {{
        {planFileNames()[0], QStringLiteral("計画１"), 0},
        {planFileNames()[1], QStringLiteral("計画２"), 1},
        {planFileNames()[2], QStringLiteral("計画３"), 2},
        {planFileNames()[3], QStringLiteral("サンプル"), 7},
        {planFileNames()[4], QStringLiteral("計画４"), 3},
        {planFileNames()[5], QStringLiteral("計画５"), 4},
        {planFileNames()[6], QStringLiteral("計画６"), 5},
        {planFileNames()[7], QStringLiteral("計画７"), 6},
    }};
    return files;
}
