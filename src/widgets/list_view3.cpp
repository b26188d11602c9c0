#include "widgets/list_view3.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

namespace {

// The grid lines of a report view.
class GridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        painter->save();
        painter->setPen(QColor(0xd8, 0xd8, 0xd8));
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        return size.expandedTo(QSize(0, 20));
    }
};

} // namespace

// --- a row ---

TListRow::TListRow(const TListView3* list, int index) : m_list(list), m_index(index) {}

const void* TListRow::data() const {
    return m_list ? m_list->rows()->record(m_index) : nullptr;
}

QModelIndex TListRow::modelIndex(int column) const {
    return m_list ? m_list->rows()->index(m_index, column) : QModelIndex();
}

QVariant TListRow::role(int column, int role) const {
    return m_list ? m_list->rows()->data(modelIndex(column), role) : QVariant();
}

QString TListRow::text(int column) const {
    return role(column, Qt::DisplayRole).toString();
}

QString TListRow::toolTip(int column) const {
    return role(column, Qt::ToolTipRole).toString();
}

QBrush TListRow::foreground(int column) const {
    return qvariant_cast<QBrush>(role(column, Qt::ForegroundRole));
}

int TListRow::textAlignment(int column) const {
    return role(column, Qt::TextAlignmentRole).toInt();
}

Qt::ItemFlags TListRow::flags() const {
    return m_list ? m_list->rows()->flags(modelIndex()) : Qt::NoItemFlags;
}

bool TListRow::isSelected() const {
    return m_list && m_list->selectionModel()->isSelected(modelIndex());
}

// --- the list ---

TListView3::TListView3(QWidget* parent) : QTreeView(parent), m_rows(new TListModel3(this)) {
    setModel(m_rows);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setItemsExpandable(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(16, 20));
    setItemDelegate(new GridDelegate(this));
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setColumns({}, {});
}

void TListView3::setColumns(const QStringList& captions, const QList<int>& widths) {
    m_rows->setCaptions(QStringList{QString()} + captions);
    header()->setMinimumSectionSize(16);
    header()->setSectionResizeMode(0, QHeaderView::Fixed);
    header()->resizeSection(0, 25);
    for (int i = 0; i < widths.size(); ++i)
        header()->resizeSection(i + 1, widths[i]);
}

void TListView3::setColumnAlignment(int column, Qt::Alignment alignment) {
    m_rows->setAlignment(column, alignment);
}

QString TListView3::caption(int column) const {
    return m_rows->headerData(column, Qt::Horizontal).toString();
}

QList<int> TListView3::columnWidths() const {
    QList<int> widths;
    for (int i = 1; i < header()->count(); ++i)
        widths << header()->sectionSize(i);
    return widths;
}

void TListView3::setUserColumnWidths(const QList<int>& widths) {
    if (widths.size() != header()->count() - 1)
        return;
    for (int i = 0; i < widths.size(); ++i)
        header()->resizeSection(i + 1, std::max(widths[i], header()->minimumSectionSize()));
}

TListRow TListView3::row(int index) const {
    return index >= 0 && index < rowCount() ? TListRow(this, index) : TListRow();
}

void TListView3::CheckItem(int index) {
    if (m_readOnly || index < 0 || index >= rowCount())
        return;
    m_rows->setChecked(index, true);
    if (OnCheckItem)
        OnCheckItem(this, row(index), true);
}

void TListView3::UncheckItem(int index) {
    if (m_readOnly || index < 0 || index >= rowCount())
        return;
    m_rows->setChecked(index, false);
    if (OnCheckItem)
        OnCheckItem(this, row(index), false);
}

void TListView3::CheckOnly(int index) {
    UncheckAll();
    CheckItem(index);
}

void TListView3::toggle(int index) {
    if (isChecked(index))
        UncheckItem(index);
    else
        CheckItem(index);
}

TListRow TListView3::currentItem() const {
    return row(currentIndex().row());
}

TListRow TListView3::itemAt(const QPoint& pos) const {
    return row(indexAt(pos).row());
}

QRect TListView3::visualItemRect(const TListRow& row) const {
    if (row.isNull())
        return QRect();
    const int first = header()->logicalIndexAt(-header()->offset());
    const int last = header()->logicalIndexAt(header()->length() - header()->offset() - 1);
    return visualRect(row.modelIndex(first)) | visualRect(row.modelIndex(last));
}

// The whole height of a row counts as the row, also beside its last column.
int TListView3::rowAt(const QPoint& pos) const {
    const QModelIndex at = indexAt(QPoint(header()->sectionViewportPosition(0) + 1, pos.y()));
    return at.isValid() ? at.row() : -1;
}

// The highlight is the selected row; a row that only has the keyboard focus is not highlighted.
int TListView3::highlightedRow() const {
    const QModelIndex current = currentIndex();
    if (current.isValid() && selectionModel()->isSelected(current))
        return current.row();
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

bool TListView3::pressRow(QMouseEvent* event) {
    if (!m_checkboxes2)
        return true;
    const int index = rowAt(event->position().toPoint());
    if (index < 0)
        return false;
    if (!m_multiCheck) {
        const int checked = CheckedIndex();
        if (checked != -1 && checked != index)
            UncheckItem(checked);
    }
    toggle(index);
    return true;
}

void TListView3::mousePressEvent(QMouseEvent* event) {
    // The tree view's double click handler may forward to this one; that press was counted already.
    if (m_inDoubleClick) {
        QTreeView::mousePressEvent(event);
        return;
    }
    // A press on empty space is swallowed so it cannot clear the highlight either.
    if (pressRow(event))
        QTreeView::mousePressEvent(event);
    else
        event->accept();
}

void TListView3::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double click toggles again, as a press would.
    if (!pressRow(event)) {
        event->accept();
        return;
    }
    m_inDoubleClick = true;
    QTreeView::mouseDoubleClickEvent(event);
    m_inDoubleClick = false;
}

void TListView3::keyPressEvent(QKeyEvent* event) {
    const int highlighted = highlightedRow();
    if (event->key() == Qt::Key_Space && m_checkboxes2 && highlighted >= 0)
        spaceOn(highlighted);
    QTreeView::keyPressEvent(event);
}

void TListView3::spaceOn(int highlighted) {
    const int checked = CheckedIndex();
    if (m_multiCheck) {
        toggle(highlighted);
    } else if (checked == highlighted) {
        UncheckItem(checked);
    } else {
        if (checked != -1)
            UncheckItem(checked);
        CheckItem(highlighted);
    }
}

void CheckByData(const void* record, TListView3* list) {
    for (int i = 0; i < list->rowCount(); ++i) {
        if (list->rows()->record(i) == record) {
            list->CheckOnly(i);
            return;
        }
    }
}
