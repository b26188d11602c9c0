#include "widgets/list_model3.h"

#include <QBrush>
#include <QCollator>
#include <QIcon>
#include <QLocale>
#include <QPainter>
#include <algorithm>
#include <numeric>

namespace {

QPixmap drawPicture(bool checked) {
    QPixmap pixmap(16, 20);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0x70, 0x70, 0x70));
    p.setBrush(Qt::white);
    p.drawRect(1, 3, 13, 13);
    if (checked) {
        p.setRenderHint(QPainter::Antialiasing, true);
        QPen tick(QColor(0x10, 0xa0, 0x20), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(tick);
        const QPointF points[] = {{3.5, 9.5}, {6.5, 13.0}, {12.5, 5.0}};
        p.drawPolyline(points, 3);
    }
    return pixmap;
}

const QIcon& checkIcon(bool checked) {
    static const QIcon icons[2] = {QIcon(TListModel3::checkPicture(false)),
                                   QIcon(TListModel3::checkPicture(true))};
    return icons[checked ? 1 : 0];
}

} // namespace

TListModel3::TListModel3(QObject* parent) : QAbstractTableModel(parent) {}

QPixmap TListModel3::checkPicture(bool checked) {
    static const QPixmap pictures[2] = {drawPicture(false), drawPicture(true)};
    return pictures[checked ? 1 : 0];
}

void TListModel3::setCaptions(const QStringList& captions) {
    beginResetModel();
    m_captions = captions.isEmpty() ? QStringList{QString()} : captions;
    endResetModel();
}

void TListModel3::setAlignment(int column, Qt::Alignment alignment) {
    m_alignments.insert(column, alignment);
    emit headerDataChanged(Qt::Horizontal, column, column);
    if (!m_rows.empty())
        emit dataChanged(index(0, column), index(count() - 1, column), {Qt::TextAlignmentRole});
}

void TListModel3::setRecords(std::vector<const void*> records) {
    beginResetModel();
    m_rows = std::move(records);
    m_checked.clear();
    endResetModel();
}

void TListModel3::removeRecord(const void* record) {
    m_checked.remove(record);
    for (int last = count() - 1; last >= 0; --last) {
        if (m_rows[size_t(last)] != record)
            continue;
        int first = last;
        while (first > 0 && m_rows[size_t(first - 1)] == record)
            --first;
        beginRemoveRows({}, first, last);
        m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
        endRemoveRows();
        last = first;
    }
}

const void* TListModel3::record(int row) const {
    return row >= 0 && row < count() ? m_rows[size_t(row)] : nullptr;
}

QString TListModel3::text(int row, int column) const {
    const void* shown = record(row);
    if (!shown || column <= 0 || !m_format.text)
        return QString();
    return m_format.text(shown, column);
}

bool TListModel3::isChecked(int row) const {
    const void* shown = record(row);
    return shown && m_checked.contains(shown);
}

bool TListModel3::setChecked(int row, bool checked) {
    const void* shown = record(row);
    if (!shown || m_checked.contains(shown) == checked)
        return false;
    if (checked)
        m_checked.insert(shown);
    else
        m_checked.remove(shown);
    markChanged(row);
    return true;
}

void TListModel3::uncheckAll() {
    if (m_checked.isEmpty())
        return;
    m_checked.clear();
    emit dataChanged(index(0, 0), index(count() - 1, 0), {Qt::DecorationRole});
}

int TListModel3::firstChecked() const {
    if (m_checked.isEmpty())
        return -1;
    for (int row = 0; row < count(); ++row)
        if (m_checked.contains(m_rows[size_t(row)]))
            return row;
    return -1;
}

int TListModel3::checkedCount() const {
    if (m_checked.isEmpty())
        return 0;
    return int(std::count_if(m_rows.begin(), m_rows.end(),
                             [this](const void* shown) { return m_checked.contains(shown); }));
}

void TListModel3::markChanged(int row) {
    const QModelIndex cell = index(row, 0);
    emit dataChanged(cell, cell, {Qt::DecorationRole});
}

void TListModel3::sortRecords(const std::function<bool(const void*, const void*)>& less) {
    sortRows([&](int a, int b) { return less(m_rows[size_t(a)], m_rows[size_t(b)]); });
}

void TListModel3::sortByText(int column, const QCollator& collator) {
    // A collator without a language compares code units, and its keys ignore
    // its case setting: it gets the texts folded instead.
    const bool fold =
        collator.caseSensitivity() == Qt::CaseInsensitive && collator.locale().language() == QLocale::C;
    std::vector<QCollatorSortKey> keys;
    keys.reserve(m_rows.size());
    for (int row = 0; row < count(); ++row) {
        const QString shown = text(row, column);
        keys.push_back(collator.sortKey(fold ? shown.toCaseFolded() : shown));
    }
    sortRows([&keys](int a, int b) { return keys[size_t(a)].compare(keys[size_t(b)]) < 0; });
}

void TListModel3::sortRows(const std::function<bool(int a, int b)>& rowLess) {
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), rowLess);
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<const void*> rows(order.size());
    std::vector<int> newRowOf(order.size());
    for (size_t to = 0; to < order.size(); ++to) {
        rows[to] = m_rows[size_t(order[to])];
        newRowOf[size_t(order[to])] = int(to);
    }
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& old : from)
        to << index(newRowOf[size_t(old.row())], old.column());
    changePersistentIndexList(from, to);
    m_rows = std::move(rows);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int TListModel3::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

int TListModel3::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_captions.size());
}

QVariant TListModel3::data(const QModelIndex& index, int role) const {
    const void* shown = record(index.row());
    if (!shown || index.parent().isValid())
        return QVariant();
    const int column = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return column == 0 ? QVariant() : QVariant(text(index.row(), column));
    case Qt::DecorationRole:
        return column == 0 ? QVariant(checkIcon(m_checked.contains(shown))) : QVariant();
    case Qt::ToolTipRole:
        return column > 0 && m_format.toolTip ? QVariant(m_format.toolTip(shown, column)) : QVariant();
    case Qt::ForegroundRole: {
        const QColor colour = column > 0 && m_format.colour ? m_format.colour(shown) : QColor();
        return colour.isValid() ? QVariant(QBrush(colour)) : QVariant();
    }
    case Qt::TextAlignmentRole:
        return m_alignments.contains(column) ? QVariant(int(m_alignments.value(column))) : QVariant();
    default:
        return QVariant();
    }
}

QVariant TListModel3::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_captions.size())
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_captions[section];
    if (role == Qt::TextAlignmentRole && m_alignments.contains(section))
        return int(m_alignments.value(section));
    return QVariant();
}

Qt::ItemFlags TListModel3::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}
