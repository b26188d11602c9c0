#pragma once

#include "search/search_kind.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

// The window 検索: one field, and what matches it in every kind of record,
// grouped under the tabs that hold them. Enter or a double-click goes to the
// record and closes the window. Modal: the records it lists cannot change
// under it.
class TFormSearch : public QDialog {
    Q_OBJECT
public:
    TFormSearch(search::SearchKinds kinds, const QString& lastQuery, QWidget* parent = nullptr);

    QLineEdit* field() const { return m_field; }
    QTreeWidget* results() const { return m_results; }
    QLabel* status() const { return m_status; }
    QString query() const;

    // Searches again for what the field holds; every change of the field runs it.
    void FieldChanged();
    // Goes to the highlighted record, or to the first one found when none is.
    void OpenClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showKind(int kind, const search::Found& found);
    QTreeWidgetItem* firstHit() const;
    static bool isHit(const QTreeWidgetItem* item);
    void open(QTreeWidgetItem* item);

    search::SearchKinds m_kinds;
    std::vector<std::vector<search::Hit>> m_hits;
    QLineEdit* m_field;
    QTreeWidget* m_results;
    QLabel* m_status;
};
