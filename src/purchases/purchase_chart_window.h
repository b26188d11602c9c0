#pragma once

#include "purchases/chart_totals.h"

#include <QWidget>

class QBarSet;
class QChart;
class QChartView;
class QLabel;
class QPushButton;
class PurchaseFilters;
struct AppContext;

// 購入金額のグラフ: the totals of the purchase tab as bars, per year while the
// year filter shows すべて, per month of the chosen year otherwise. The tab calls
// Redraw whenever it shows its purchases again, so the chart follows the filters
// and every change to the purchases, however they came about.
class TPurchaseChartWindow : public QWidget {
    Q_OBJECT
public:
    TPurchaseChartWindow(AppContext& context, const PurchaseFilters& filters, QWidget& owner);

    const QList<ChartBar>& bars() const { return m_bars; }
    QChart* chart() const { return m_chart; }
    QLabel* valueLabel() const { return m_value; }

    void Redraw();
    // A bar under the mouse shows its amount; leaving it clears the line.
    void BarHovered(bool status, int index);
    // PNG, or JPEG when the chosen name ends in .jpg or .jpeg.
    void SaveButtonClick();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void setAxes(qint64 largest);
    void fitBarLabels();

    AppContext& m_context;
    const PurchaseFilters& m_filters;
    QList<ChartBar> m_bars;
    QChart* m_chart;
    QChartView* m_view;
    QLabel* m_value;
};

// Opens the chart of the owner's filters, or brings the open one to the front.
TPurchaseChartWindow* showPurchaseChart(QWidget& owner, const PurchaseFilters& filters, AppContext& context);
