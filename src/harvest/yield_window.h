#pragma once

#include "harvest/yield_totals.h"

#include <QDialog>

class QChart;
class QComboBox;
class QTableWidget;
class THarvestBook;
struct AppContext;

// 収穫の集計: what each crop gave each year, in a table that keeps every unit
// apart, with yen per kilogram where the ledger names the crop, and a chart of
// one crop's yield year by year.
class TYieldWindow : public QDialog {
    Q_OBJECT
public:
    TYieldWindow(const THarvestBook& book, const TCostList& costs, QWidget* parent = nullptr);

    QTableWidget* table() const { return m_table; }
    QComboBox* seriesChoice() const { return m_choice; }
    QChart* chart() const { return m_chart; }
    const YieldChart& yields() const { return m_yields; }

    // Draws the chosen crop and unit.
    void Redraw();

private:
    void fillTable(const QList<YieldTotal>& totals);

    QList<YieldTotal> m_totals;
    YieldChart m_yields;
    QTableWidget* m_table;
    QComboBox* m_choice;
    QChart* m_chart;
};

void showYieldWindow(QWidget& owner, const AppContext& context, const THarvestBook& book);
