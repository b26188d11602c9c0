#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QHash>
#include <QPixmap>
#include <QSet>
#include <QStringList>
#include <functional>
#include <vector>

class QCollator;

// The rows of a check-mark list: references to records the list never owns,
// and the set of records whose rows carry a check mark. Nothing of a record is
// copied; a row's texts are asked of its record whenever the view paints or
// sorts the row. A record has to leave (removeRecord, clear or a refill)
// before it is destroyed, or the next paint reads a dead record.
class TListModel3 : public QAbstractTableModel {
    Q_OBJECT
public:
    // What the rows show of their records. Columns count from 1, after the
    // check column. The tooltip and the colour of a row's texts are optional;
    // an invalid colour is the view's own.
    struct Format {
        std::function<QString(const void* record, int column)> text;
        std::function<QString(const void* record, int column)> toolTip;
        std::function<QColor(const void* record)> colour;
    };

    explicit TListModel3(QObject* parent = nullptr);

    Format& format() { return m_format; }
    // The captions of every column, the check column's first.
    void setCaptions(const QStringList& captions);
    // For the caption and the cells of a column alike.
    void setAlignment(int column, Qt::Alignment alignment);

    // A refill: one row per record in the given order, and no row checked.
    void setRecords(std::vector<const void*> records);
    void clear() { setRecords({}); }
    // Every row that shows record goes, and so does its mark.
    void removeRecord(const void* record);
    int count() const { return int(m_rows.size()); }
    const void* record(int row) const;
    QString text(int row, int column) const;

    bool isChecked(int row) const;
    // Returns false when the row does not exist or already had that state.
    bool setChecked(int row, bool checked);
    void uncheckAll();
    int firstChecked() const;
    int checkedCount() const;

    // Stable sorts. The view's highlight and current row move with their rows,
    // as the marks do with their records.
    void sortRecords(const std::function<bool(const void* a, const void* b)>& less);
    // Ascending by the column's text under collator, each text's key made once.
    void sortByText(int column, const QCollator& collator);

    // The row's small image: an empty box, or a box with a green tick.
    static QPixmap checkPicture(bool checked);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // The stable sort behind both: rowLess compares two rows by their places
    // before the sort.
    void sortRows(const std::function<bool(int a, int b)>& rowLess);
    void markChanged(int row);

    Format m_format;
    QStringList m_captions{QString()};
    QHash<int, Qt::Alignment> m_alignments;
    std::vector<const void*> m_rows;
    QSet<const void*> m_checked;
};
