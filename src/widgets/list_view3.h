#pragma once

#include "widgets/list_model3.h"

#include <QTreeView>
#include <functional>
#include <iterator>

class TListView3;

// One row of a check-mark list, named by its place in the view. It holds no
// texts: they are read from the row's record when asked. A row is only good
// until the list changes.
class TListRow {
public:
    TListRow() = default;
    TListRow(const TListView3* list, int index);

    bool isNull() const { return !m_list; }
    explicit operator bool() const { return m_list != nullptr; }
    int index() const { return m_index; }
    const void* data() const;
    QModelIndex modelIndex(int column = 0) const;

    QString text(int column) const;
    QString toolTip(int column) const;
    QBrush foreground(int column) const;
    int textAlignment(int column) const;
    Qt::ItemFlags flags() const;
    bool isSelected() const;

    // Code that reads a row through -> reads a handle the same way.
    const TListRow* operator->() const { return this; }
    bool operator==(const TListRow& other) const = default;

private:
    QVariant role(int column, int role) const;

    const TListView3* m_list = nullptr;
    int m_index = -1;
};

// A report-style list whose rows carry a check mark in the first column. The
// windows take the checked row, never the highlighted one, as the user's choice
// of record. By default one row at most is checked, like a radio choice that
// can also be cleared. Rows refer to their records without owning or copying
// them (see TListModel3): a window removes a record from its list before it
// destroys it.
class TListView3 : public QTreeView {
    Q_OBJECT
public:
    using TLVCheckItemEvent = std::function<void(TListView3* sender, TListRow item, bool checked)>;

    explicit TListView3(QWidget* parent = nullptr);

    // The base view's own check boxes are never shown.
    bool Checkboxes() const { return false; }
    bool Checkboxes2() const { return m_checkboxes2; }
    void setCheckboxes2(bool on) { m_checkboxes2 = on; }
    bool MultiCheck() const { return m_multiCheck; }
    void setMultiCheck(bool on) { m_multiCheck = on; }
    bool CheckboxesReadOnly() const { return m_readOnly; }
    void setCheckboxesReadOnly(bool on) { m_readOnly = on; }
    TLVCheckItemEvent OnCheckItem;

    // Columns after the fixed, captionless check column. The widths are the
    // layout's, and only minimums.
    //
    // The width rule, after every refill: a column is as wide as its minimum,
    // or as its caption or its longest text when they need more, so nothing is
    // cut off (the list scrolls sideways instead). A cell that is cut off all
    // the same, as after the gardener narrowed its column, shows its whole
    // text as its tooltip. Widths the gardener chose, by dragging a column's
    // edge or read back from the settings, replace the layout's minimums.
    void setColumns(const QStringList& captions, const QList<int>& widths);
    // Whether the rows of a long list are still being measured; the columns
    // widen on their own as the event loop runs.
    bool isFitting() const { return m_fitNext >= 0; }
    // The widths of the columns after the check column, as they are now.
    QList<int> columnWidths() const;
    // The widths the gardener chose by dragging a column's edge, one for each
    // column after the check column; the layout's width where none was chosen.
    QList<int> userColumnWidths() const;
    // Widths the gardener chose at an earlier start, one for each column after
    // the check column (or none is taken): they replace the layout's minimums.
    void setUserColumnWidths(const QList<int>& widths);
    // Whether the cell's text is cut off at the column's present width.
    bool isCutOff(int row, int column) const;
    // The tooltip of a cell: the record's own, or else the whole text of a cell that is cut off.
    QString cellToolTip(int row, int column) const;
    // For the column's caption and its cells.
    void setColumnAlignment(int column, Qt::Alignment alignment);
    QString caption(int column) const;

    // What a row of a T shows in a column (1 for the first after the check
    // column), asked whenever the row is painted or sorted.
    template <class T, class F> void setTexts(F text) {
        m_rows->format().text = [text](const void* r, int column) { return text(*of<T>(r), column); };
    }
    template <class T, class F> void setToolTips(F toolTip) {
        m_rows->format().toolTip = [toolTip](const void* r, int column) {
            return toolTip(*of<T>(r), column);
        };
    }
    // The colour of all texts of a row; an invalid colour leaves the view's own.
    template <class T, class F> void setTextColours(F colour) {
        m_rows->format().colour = [colour](const void* r) { return colour(*of<T>(r)); };
    }

    // A refill: one row per record, in order. No row is checked afterwards.
    template <class Range> void setRecords(const Range& records) {
        std::vector<const void*> rows;
        if constexpr (requires { std::size(records); })
            rows.reserve(size_t(std::size(records)));
        for (const auto* record : records)
            rows.push_back(record);
        refill(std::move(rows));
    }
    void clear() { refill({}); }
    // The record's rows leave the list, and their marks with them; call it
    // before the record is destroyed.
    void removeRecord(const void* record) { m_rows->removeRecord(record); }

    int rowCount() const { return m_rows->count(); }
    TListRow row(int index) const;
    static const void* rowData(const TListRow& row) { return row.data(); }
    template <class T> T* checkedRecord() const {
        return static_cast<T*>(const_cast<void*>(m_rows->record(CheckedIndex())));
    }
    TListModel3* rows() const { return m_rows; }

    bool isChecked(int index) const { return m_rows->isChecked(index); }
    int CheckedIndex() const { return m_rows->firstChecked(); }
    TListRow CheckedItem() const { return row(CheckedIndex()); }
    int CheckedCount() const { return m_rows->checkedCount(); }
    void CheckItem(int index);
    void UncheckItem(int index);
    void UncheckAll() { m_rows->uncheckAll(); }
    void CheckOnly(int index);

    // Reorder the rows, keeping equal rows in their order; marks and the
    // highlight move with their rows.
    template <class T, class Less> void sortRows(Less less) {
        m_rows->sortRecords([less](const void* a, const void* b) { return less(*of<T>(a), *of<T>(b)); });
        rowsMoved();
    }
    void sortRowsByText(int column, const QCollator& collator) {
        m_rows->sortByText(column, collator);
        rowsMoved();
    }

    // The row with the keyboard focus, the row at a point of the viewport, and
    // the whole width of a row on the viewport.
    TListRow currentItem() const;
    TListRow itemAt(const QPoint& pos) const;
    QRect visualItemRect(const TListRow& row) const;

    static QPixmap checkPicture(bool checked) { return TListModel3::checkPicture(checked); }

signals:
    // A double click ticked the row, and only that one: the window opens it (変更, or 表示).
    void opened(int index);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    template <class T> static const T* of(const void* record) { return static_cast<const T*>(record); }
    int rowAt(const QPoint& pos) const;
    int highlightedRow() const;
    bool pressRow(QMouseEvent* event);
    void spaceOn(int highlighted);
    void toggle(int index);
    void uncheckOther(int index);
    void tickOnly(int index);
    void refill(std::vector<const void*> rows);
    void fitColumns();
    int textMargin() const;
    int minimumWidth(int column) const;
    static constexpr int kRowsAtOnce = 5000;
    int textWidth(int column, int first, int last) const;
    void fitFrom(int first);
    void queueFitting();
    void fitRows(int first);
    void rowsMoved();
    void widthChosen(int column, int width);

    TListModel3* m_rows;
    QList<int> m_minimums;
    QList<int> m_chosen; // 0 where the gardener chose no width
    bool m_fitting = false;
    bool m_fitQueued = false;
    int m_fitNext = -1; // the first row still to measure, or -1
    bool m_checkboxes2 = true;
    bool m_multiCheck = false;
    bool m_readOnly = false;
    bool m_inDoubleClick = false;
};

// Checks again the row of record after a refill; nothing changes when no row shows it.
void CheckByData(const void* record, TListView3* list);
