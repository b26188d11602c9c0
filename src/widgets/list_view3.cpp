#include "widgets/list_view3.h"

#include <QHash>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <array>
#include <cmath>

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

// The widest of many texts in one font, found the cheap way: each text's
// characters' own advances added up, which is what shaping gives for the
// texts of these lists (no ligatures, next to no kerning). Only the text with
// the largest sum is shaped, in case its shaped width comes out wider.
class WidestText {
public:
    explicit WidestText(const QFontMetricsF& metrics) : m_metrics(metrics) {}

    void add(int row, const QString& text) {
        const qreal width = estimate(text);
        if (width > m_width) {
            m_width = width;
            m_row = row;
        }
    }
    // The row of the widest text, or -1 when no text was added.
    int row() const { return m_row; }
    int width(const QString& textOfRow) const {
        return int(std::ceil(std::max(m_width, m_metrics.horizontalAdvance(textOfRow))));
    }

private:
    qreal estimate(const QString& text) {
        qreal width = 0;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const char16_t c = text.at(i).unicode();
            if (c < 128) {
                if (m_ascii[c] < 0)
                    m_ascii[c] = m_metrics.horizontalAdvance(QChar(c));
                width += m_ascii[c];
            } else if (QChar::isHighSurrogate(c) && i + 1 < text.size()) {
                width += m_metrics.horizontalAdvance(text.mid(i, 2));
                ++i;
            } else {
                auto found = m_others.find(c);
                if (found == m_others.end())
                    found = m_others.insert(c, m_metrics.horizontalAdvance(QChar(c)));
                width += *found;
            }
        }
        return width;
    }

    const QFontMetricsF& m_metrics;
    std::array<qreal, 128> m_ascii = filled(-1);
    QHash<char16_t, qreal> m_others;
    qreal m_width = 0;
    int m_row = -1;

    static std::array<qreal, 128> filled(qreal value) {
        std::array<qreal, 128> all;
        all.fill(value);
        return all;
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
    return m_list ? m_list->cellToolTip(m_index, column) : QString();
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
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(header(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) { widthChosen(column, width); });
    setColumns({}, {});
}

void TListView3::setColumns(const QStringList& captions, const QList<int>& widths) {
    const QScopedValueRollback fitting(m_fitting, true);
    m_rows->setCaptions(QStringList{QString()} + captions);
    m_minimums = widths;
    header()->setMinimumSectionSize(16);
    header()->setSectionResizeMode(0, QHeaderView::Fixed);
    header()->resizeSection(0, 25);
    fitColumns();
}

// --- column widths ---

// The room a cell leaves beside its text, as the style draws item texts.
int TListView3::textMargin() const {
    return style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
}

int TListView3::minimumWidth(int column) const {
    const qsizetype i = column - 1;
    if (i < m_chosen.size() && m_chosen[i] > 0)
        return m_chosen[i];
    return i < m_minimums.size() ? m_minimums[i] : header()->defaultSectionSize();
}

// The widest text of the column's rows from first to before last, with its margins.
int TListView3::textWidth(int column, int first, int last) const {
    const QFontMetricsF metrics(font());
    WidestText widest(metrics);
    for (int row = first; row < last; ++row)
        widest.add(row, m_rows->text(row, column));
    return widest.row() < 0 ? 0 : widest.width(m_rows->text(widest.row(), column)) + 2 * textMargin() + 1;
}

void TListView3::refill(std::vector<const void*> rows) {
    {
        const QScopedValueRollback fitting(m_fitting, true);
        m_rows->setRecords(std::move(rows));
    }
    fitColumns();
}

// A column is never narrower than its minimum or its caption; the rows widen
// it. A long list is measured a part at a time, the rest while the gardener
// already sees it, so a refill answers at once however long the list.
void TListView3::fitColumns() {
    const int last = std::min(rowCount(), kRowsAtOnce);
    {
        const QScopedValueRollback fitting(m_fitting, true);
        for (int column = 1; column < m_rows->columnCount(); ++column)
            header()->resizeSection(column, std::max({minimumWidth(column), header()->sectionSizeHint(column),
                                                      textWidth(column, 0, last)}));
    }
    fitFrom(last);
}

void TListView3::fitFrom(int first) {
    m_fitNext = first < rowCount() ? first : -1;
    queueFitting();
}

// A hidden list is measured once it shows: at the start only the tab in view
// spends the time, the others when the gardener turns to them. One part at a
// time is queued; a refill meanwhile only moves where it goes on.
void TListView3::queueFitting() {
    if (m_fitNext < 0 || m_fitQueued || !isVisible())
        return;
    m_fitQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_fitQueued = false;
        if (m_fitNext >= 0)
            fitRows(m_fitNext);
    });
}

void TListView3::showEvent(QShowEvent* event) {
    QTreeView::showEvent(event);
    queueFitting();
}

void TListView3::fitRows(int first) {
    const int last = std::min(rowCount(), first + kRowsAtOnce);
    {
        const QScopedValueRollback fitting(m_fitting, true);
        for (int column = 1; column < m_rows->columnCount(); ++column) {
            const int needed = textWidth(column, first, last);
            if (needed > header()->sectionSize(column))
                header()->resizeSection(column, needed);
        }
    }
    fitFrom(last);
}

// Rows that move while a long list is still measured are measured again.
void TListView3::rowsMoved() {
    if (isFitting())
        fitColumns();
}

QList<int> TListView3::columnWidths() const {
    QList<int> widths;
    for (int column = 1; column < m_rows->columnCount(); ++column)
        widths << header()->sectionSize(column);
    return widths;
}

QList<int> TListView3::userColumnWidths() const {
    QList<int> widths;
    for (int column = 1; column < m_rows->columnCount(); ++column)
        widths << minimumWidth(column);
    return widths;
}

void TListView3::setUserColumnWidths(const QList<int>& widths) {
    if (widths.size() != m_rows->columnCount() - 1)
        return;
    m_chosen.clear();
    for (const int width : widths)
        m_chosen << std::max(width, header()->minimumSectionSize());
    fitColumns();
}

// Only a width the gardener set by hand counts as chosen; it shows at once,
// and from the next refill on it is the column's minimum.
void TListView3::widthChosen(int column, int width) {
    if (m_fitting || column < 1)
        return;
    if (m_chosen.size() < column)
        m_chosen.resize(column);
    m_chosen[column - 1] = width;
}

bool TListView3::isCutOff(int row, int column) const {
    if (column < 1 || row < 0 || row >= rowCount())
        return false;
    const int room = header()->sectionSize(column) - 2 * textMargin();
    return fontMetrics().horizontalAdvance(m_rows->text(row, column)) > room;
}

QString TListView3::cellToolTip(int row, int column) const {
    const QString own = m_rows->data(m_rows->index(row, column), Qt::ToolTipRole).toString();
    if (!own.isEmpty() || !isCutOff(row, column))
        return own;
    return m_rows->text(row, column);
}

bool TListView3::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QTreeView::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex at = indexAt(help->pos());
    const QString tip = at.isValid() ? cellToolTip(at.row(), at.column()) : QString();
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, viewport(), visualRect(at));
    return true;
}

// Texts measure anew in another font.
void TListView3::changeEvent(QEvent* event) {
    QTreeView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitColumns();
}

void TListView3::setColumnAlignment(int column, Qt::Alignment alignment) {
    m_rows->setAlignment(column, alignment);
}

QString TListView3::caption(int column) const {
    return m_rows->headerData(column, Qt::Horizontal).toString();
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
    if (!m_multiCheck)
        uncheckOther(index);
    toggle(index);
    return true;
}

void TListView3::uncheckOther(int index) {
    const int checked = CheckedIndex();
    if (checked != -1 && checked != index)
        UncheckItem(checked);
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

// The row ends ticked, and alone in single-check mode, whatever the first
// press of the double click did to it; then the window opens it.
void TListView3::mouseDoubleClickEvent(QMouseEvent* event) {
    const int index = rowAt(event->position().toPoint());
    if (index < 0 && m_checkboxes2) {
        event->accept();
        return;
    }
    if (index < 0) {
        QTreeView::mouseDoubleClickEvent(event);
        return;
    }
    if (m_checkboxes2)
        tickOnly(index);
    m_inDoubleClick = true;
    QTreeView::mouseDoubleClickEvent(event);
    m_inDoubleClick = false;
    emit opened(index);
}

void TListView3::tickOnly(int index) {
    if (!m_multiCheck)
        uncheckOther(index);
    if (!isChecked(index))
        CheckItem(index);
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
