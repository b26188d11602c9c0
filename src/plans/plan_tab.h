#pragma once

#include <QWidget>

class QAbstractButton;
class QButtonGroup;
class QLabel;
class QScrollArea;
struct AppContext;

// The tab 作付計画: the eight plan buttons, the chart and the plan commands.
class TPlanTab : public QWidget {
    Q_OBJECT
public:
    TPlanTab(AppContext& context, QWidget* parent = nullptr);

    QButtonGroup* planButtons() const { return m_planButtons; }

private:
    void buildPlanButtons(class QHBoxLayout* row);

    AppContext& m_context;
    QButtonGroup* m_planButtons;
    QScrollArea* m_chartArea;
    QLabel* m_chartView;
};
