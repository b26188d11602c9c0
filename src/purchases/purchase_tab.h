#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class TListView3;
struct AppContext;

// The tab 購入履歴: purchases narrowed by year and month, with their total.
class TPurchaseTab : public QWidget {
    Q_OBJECT
public:
    TPurchaseTab(AppContext& context, QWidget* parent = nullptr);

    TListView3* list() const { return m_list; }
    QComboBox* years() const { return m_years; }
    QComboBox* months() const { return m_months; }
    QLabel* total() const { return m_total; }

private:
    QComboBox* makeFilter(const char* objectName);

    AppContext& m_context;
    TListView3* m_list;
    QComboBox* m_years;
    QComboBox* m_months;
    QLabel* m_total;
};
