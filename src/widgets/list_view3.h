#pragma once

#include <QTreeWidget>
#include <functional>

// A report-style list whose rows carry a check mark in the first column. The
// windows take the checked row, never the highlighted one, as the user's choice
// of record. By default one row at most is checked, like a radio choice that
// can also be cleared. Rows refer to their records without owning them.
class TListView3 : public QTreeWidget {
    Q_OBJECT
public:
    using TLVCheckItemEvent = std::function<void(TListView3* sender, QTreeWidgetItem* item, bool checked)>;

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

    // Columns after the fixed, captionless check column.
    void setColumns(const QStringList& captions, const QList<int>& widths);
    // Appends a row showing texts (one per column after the check column) for record.
    QTreeWidgetItem* addRow(const QStringList& texts, const void* record);
    int rowCount() const { return topLevelItemCount(); }
    QTreeWidgetItem* row(int index) const { return topLevelItem(index); }
    static const void* rowData(const QTreeWidgetItem* item);
    template <class T> T* checkedRecord() const {
        QTreeWidgetItem* item = CheckedItem();
        return item ? static_cast<T*>(const_cast<void*>(rowData(item))) : nullptr;
    }

    bool isChecked(int index) const;
    int CheckedIndex() const;
    QTreeWidgetItem* CheckedItem() const;
    int CheckedCount() const;
    void CheckItem(int index);
    void UncheckItem(int index);
    void UncheckAll();
    void CheckOnly(int index);

    // Reorders the rows by less, keeping equal rows in their order; marks and
    // the highlight move with their rows.
    void sortRows(const std::function<bool(const QTreeWidgetItem*, const QTreeWidgetItem*)>& less);

    static QPixmap checkPicture(bool checked);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTreeWidgetItem* rowAt(const QPoint& pos) const;
    QTreeWidgetItem* highlightedRow() const;
    bool pressRow(QMouseEvent* event);
    void spaceOn(int highlighted);
    void toggle(int index);
    void setImageIndex(int index, int image);

    bool m_checkboxes2 = true;
    bool m_multiCheck = false;
    bool m_readOnly = false;
    bool m_inDoubleClick = false;
};

// Checks again the row of record after a refill; nothing changes when no row shows it.
void CheckByData(const void* record, TListView3* list);
