#pragma once

#include "purchases/purchase_filters.h"

#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class TCost;
class TListView3;
struct AppContext;

// The tab 購入履歴: purchases narrowed by year and month, with their total.
// The filters only ever offer years and months that have purchases; a choice
// made from code raises no change notification, so each command runs the
// steps it needs itself.
class TPurchaseTab : public QWidget, public PurchaseFilters {
    Q_OBJECT
public:
    TPurchaseTab(AppContext& context, QWidget* parent = nullptr);

    TListView3* list() const { return m_list; }
    QComboBox* years() const { return m_years; }
    QComboBox* months() const { return m_months; }
    QLabel* total() const { return m_total; }
    QString filterYear() const override;
    QString filterMonth() const override;

    // The purchase card lives elsewhere; it plugs in here.
    std::function<void(TCost& cost)> showCostCard;

    void RebuildYears();
    void RebuildMonths();
    void RefreshList();
    void YearChanged();
    void MonthChanged();
    // Ticks the purchase's row and scrolls to it, the filters following it when they hide it.
    void ShowCost(const TCost* cost);

    void AddButtonClick();
    void ChangeButtonClick();
    void ShowButtonClick();
    void DeleteButtonClick();
    void ChartButtonClick();

signals:
    // The rows and the total show the purchases again: after a filter choice, a
    // command or a reload. Whatever follows the tab listens here.
    void refreshed();

private:
    QComboBox* makeFilter(const char* objectName);
    QPushButton* chartButton();
    QPushButton* commandButton(const QString& caption, const char* objectName,
                               void (TPurchaseTab::*handler)());
    QString initialFrom(const QComboBox* filter) const;
    TCost* checkedCost();
    void followCost(const TCost& cost);

    AppContext& m_context;
    TListView3* m_list;
    QComboBox* m_years;
    QComboBox* m_months;
    QLabel* m_total;
};
