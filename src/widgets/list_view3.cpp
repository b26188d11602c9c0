#include "widgets/list_view3.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

namespace {

constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kRecordRole = Qt::UserRole + 2;

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

} // namespace

TListView3::TListView3(QWidget* parent) : QTreeWidget(parent) {
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

QPixmap TListView3::checkPicture(bool checked) {
    static const QPixmap pictures[2] = {drawPicture(false), drawPicture(true)};
    return pictures[checked ? 1 : 0];
}

void TListView3::setColumns(const QStringList& captions, const QList<int>& widths) {
    setColumnCount(int(captions.size()) + 1);
    setHeaderLabels(QStringList{QString()} + captions);
    header()->setMinimumSectionSize(16);
    header()->setSectionResizeMode(0, QHeaderView::Fixed);
    header()->resizeSection(0, 25);
    for (int i = 0; i < widths.size(); ++i)
        header()->resizeSection(i + 1, widths[i]);
}

QTreeWidgetItem* TListView3::addRow(const QStringList& texts, const void* record) {
    auto* item = new QTreeWidgetItem(QStringList{QString()} + texts);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    item->setData(0, kRecordRole, QVariant::fromValue(reinterpret_cast<quintptr>(record)));
    item->setData(0, kImageRole, 0);
    item->setIcon(0, QIcon(checkPicture(false)));
    addTopLevelItem(item);
    return item;
}

const void* TListView3::rowData(const QTreeWidgetItem* item) {
    return item ? reinterpret_cast<const void*>(item->data(0, kRecordRole).value<quintptr>()) : nullptr;
}

bool TListView3::isChecked(int index) const {
    QTreeWidgetItem* item = topLevelItem(index);
    return item && item->data(0, kImageRole).toInt() == 1;
}

int TListView3::CheckedIndex() const {
    for (int i = 0; i < topLevelItemCount(); ++i)
        if (isChecked(i))
            return i;
    return -1;
}

QTreeWidgetItem* TListView3::CheckedItem() const {
    const int index = CheckedIndex();
    return index < 0 ? nullptr : topLevelItem(index);
}

int TListView3::CheckedCount() const {
    int count = 0;
    for (int i = 0; i < topLevelItemCount(); ++i)
        count += isChecked(i) ? 1 : 0;
    return count;
}

void TListView3::setImageIndex(int index, int image) {
    QTreeWidgetItem* item = topLevelItem(index);
    if (!item)
        return;
    item->setData(0, kImageRole, image);
    item->setIcon(0, QIcon(checkPicture(image == 1)));
}

void TListView3::CheckItem(int index) {
    if (m_readOnly || !topLevelItem(index))
        return;
    setImageIndex(index, 1);
    if (OnCheckItem)
        OnCheckItem(this, topLevelItem(index), true);
}

void TListView3::UncheckItem(int index) {
    if (m_readOnly || !topLevelItem(index))
        return;
    setImageIndex(index, 0);
    if (OnCheckItem)
        OnCheckItem(this, topLevelItem(index), false);
}

void TListView3::UncheckAll() {
    for (int i = 0; i < topLevelItemCount(); ++i)
        setImageIndex(i, 0);
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

// The whole height of a row counts as the row, also beside its last column.
QTreeWidgetItem* TListView3::rowAt(const QPoint& pos) const {
    return itemAt(QPoint(header()->sectionViewportPosition(0) + 1, pos.y()));
}

// The highlight is the selected row; a row that only has the keyboard focus is not highlighted.
QTreeWidgetItem* TListView3::highlightedRow() const {
    QTreeWidgetItem* current = currentItem();
    if (current && current->isSelected())
        return current;
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

bool TListView3::pressRow(QMouseEvent* event) {
    if (!m_checkboxes2)
        return true;
    QTreeWidgetItem* item = rowAt(event->position().toPoint());
    if (!item)
        return false;
    const int index = indexOfTopLevelItem(item);
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
        QTreeWidget::mousePressEvent(event);
        return;
    }
    // A press on empty space is swallowed so it cannot clear the highlight either.
    if (pressRow(event))
        QTreeWidget::mousePressEvent(event);
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
    QTreeWidget::mouseDoubleClickEvent(event);
    m_inDoubleClick = false;
}

void TListView3::keyPressEvent(QKeyEvent* event) {
    QTreeWidgetItem* highlighted = highlightedRow();
    if (event->key() == Qt::Key_Space && m_checkboxes2 && highlighted)
        spaceOn(indexOfTopLevelItem(highlighted));
    QTreeWidget::keyPressEvent(event);
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

void TListView3::sortRows(const std::function<bool(const QTreeWidgetItem*, const QTreeWidgetItem*)>& less) {
    QTreeWidgetItem* current = currentItem();
    const QList<QTreeWidgetItem*> selected = selectedItems();
    QList<QTreeWidgetItem*> rows = invisibleRootItem()->takeChildren();
    std::stable_sort(rows.begin(), rows.end(), less);
    addTopLevelItems(rows);
    if (current)
        setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    for (QTreeWidgetItem* item : selected)
        item->setSelected(true);
}

void CheckByData(const void* record, TListView3* list) {
    for (int i = 0; i < list->rowCount(); ++i) {
        if (TListView3::rowData(list->row(i)) == record) {
            list->CheckOnly(i);
            return;
        }
    }
}
