#include "harvest/yield_window.h"

#include "harvest/harvest_book.h"
#include "harvest/harvest_records.h"
#include "purchases/purchase_records.h"
#include "widgets/app_context.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>

namespace {

const QColor kBarColour(0x4c, 0x9a, 0x5a);

QTableWidgetItem* cell(const QString& text, bool right = false) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (right)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

TYieldWindow::TYieldWindow(const THarvestBook& book, const TCostList& costs, QWidget* parent)
    : QDialog(parent), m_table(new QTableWidget(this)), m_choice(new QComboBox(this)), m_chart(new QChart) {
    setObjectName(QStringLiteral("yieldWindow"));
    setWindowTitle(QStringLiteral("収穫の集計"));
    m_totals = YieldTotals(book.shukaku);
    AddYenPerKg(m_totals, costs);
    m_yields = YieldByYear(m_totals);
    fillTable(m_totals);

    m_choice->setObjectName(QStringLiteral("yieldSeries"));
    for (const YieldSeries& s : m_yields.series)
        m_choice->addItem(s.crop + QStringLiteral("（") + s.unit + QStringLiteral("）"));
    connect(m_choice, &QComboBox::currentIndexChanged, this, &TYieldWindow::Redraw);

    m_chart->legend()->hide();
    m_chart->setAnimationOptions(QChart::NoAnimation);
    auto* view = new QChartView(m_chart, this);
    view->setObjectName(QStringLiteral("yieldChartView"));
    view->setRenderHint(QPainter::Antialiasing);
    view->setMinimumHeight(240);

    auto* note = new QLabel(QStringLiteral("単位の違う量は足しません。円/kg は、購入履歴のその年の品目のうち"
                                           "作物名を含むものの金額を、g と kg の収穫量で割ったものです。"),
                            this);
    note->setWordWrap(true);
    auto* choiceRow = new QHBoxLayout;
    choiceRow->addWidget(new QLabel(QStringLiteral("グラフの作物"), this));
    choiceRow->addWidget(m_choice, 1);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addWidget(note);
    layout->addLayout(choiceRow);
    layout->addWidget(view, 2);
    layout->addWidget(buttons);
    resize(620, 620);
    Redraw();
}

void TYieldWindow::fillTable(const QList<YieldTotal>& totals) {
    m_table->setObjectName(QStringLiteral("yieldTable"));
    m_table->setColumnCount(5);
    m_table->setHorizontalHeaderLabels({QStringLiteral("作物"), QStringLiteral("年"),
                                        QStringLiteral("収穫量"), QStringLiteral("回数"),
                                        QStringLiteral("円/kg")});
    m_table->setRowCount(int(totals.size()));
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    for (int row = 0; row < totals.size(); ++row) {
        const YieldTotal& t = totals[row];
        m_table->setItem(row, 0, cell(t.crop));
        m_table->setItem(row, 1, cell(QString::number(t.year), true));
        m_table->setItem(row, 2, cell(AmountText(t.amount) + QLatin1Char(' ') + t.unit, true));
        m_table->setItem(row, 3, cell(QString::number(t.harvests), true));
        m_table->setItem(row, 4,
                         cell(t.yenPerKg ? MoneyText(*t.yenPerKg) + kCostYenSuffix : QString(), true));
    }
    m_table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
}

void TYieldWindow::Redraw() {
    m_chart->removeAllSeries();
    for (QAbstractAxis* axis : m_chart->axes()) {
        m_chart->removeAxis(axis);
        delete axis;
    }
    const int index = m_choice->currentIndex();
    if (index < 0 || index >= m_yields.series.size()) {
        m_chart->setTitle(QStringLiteral("収穫の記録がありません"));
        return;
    }
    const YieldSeries& chosen = m_yields.series[index];
    m_chart->setTitle(chosen.crop + QStringLiteral("の年ごとの収穫量（") + chosen.unit +
                      QStringLiteral("）"));
    auto* set = new QBarSet(chosen.crop);
    set->setColor(kBarColour);
    set->setBorderColor(kBarColour.darker(120));
    auto* years = new QBarCategoryAxis;
    qreal largest = 0;
    for (int i = 0; i < chosen.amounts.size(); ++i) {
        const qreal amount = qreal(chosen.amounts[i]) / 1000;
        set->append(amount);
        largest = std::max(largest, amount);
        years->append(QString::number(m_yields.firstYear + i) + QStringLiteral("年"));
    }
    auto* series = new QBarSeries;
    series->append(set);
    series->setLabelsVisible(true);
    series->setLabelsFormat(QStringLiteral("@value"));
    m_chart->addSeries(series);
    auto* values = new QValueAxis;
    values->setRange(0, largest > 0 ? largest * 1.15 : 1);
    values->setLabelFormat(QStringLiteral("%g"));
    values->setTitleText(chosen.unit);
    m_chart->addAxis(years, Qt::AlignBottom);
    m_chart->addAxis(values, Qt::AlignLeft);
    series->attachAxis(years);
    series->attachAxis(values);
}

void showYieldWindow(QWidget& owner, const AppContext& context, const THarvestBook& book) {
    TYieldWindow window(book, *context.costs, owner.window());
    window.exec();
}
