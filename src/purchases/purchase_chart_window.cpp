#include "purchases/purchase_chart_window.h"

#include "store/export_file.h"
#include "image/jpeg_writer.h"
#include "purchases/purchase_filters.h"
#include "purchases/purchase_records.h"
#include "widgets/app_context.h"
#include "widgets/platform.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace {

const QColor kBarColour(0x4c, 0x9a, 0x5a);
const QColor kChosenColour(0xe0, 0x8a, 0x1e);

QString yen(qint64 amount) {
    return MoneyText(amount) + kCostYenSuffix;
}

QString chartTitle(const QString& year) {
    if (year == kCostAllEntries)
        return QStringLiteral("年ごとの購入金額");
    return year + QStringLiteral("年の月ごとの購入金額");
}

QByteArray pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        throw std::runtime_error("PNG 画像を作れませんでした。");
    return bytes;
}

bool isJpegName(const QString& path) {
    return path.endsWith(QStringLiteral(".jpg"), Qt::CaseInsensitive) ||
           path.endsWith(QStringLiteral(".jpeg"), Qt::CaseInsensitive);
}

} // namespace

TPurchaseChartWindow::TPurchaseChartWindow(AppContext& context, const PurchaseFilters& filters,
                                           QWidget& owner)
    : QWidget(&owner, Qt::Window), m_context(context), m_filters(filters), m_chart(new QChart),
      m_view(nullptr), m_value(new QLabel(this)) {
    setObjectName(QStringLiteral("purchaseChartWindow"));
    setWindowTitle(QStringLiteral("購入金額のグラフ"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(640, 440);

    m_chart->legend()->hide();
    QFont titleFont = m_chart->titleFont();
    titleFont.setPointSizeF(titleFont.pointSizeF() + 2);
    m_chart->setTitleFont(titleFont);
    m_chart->setAnimationOptions(QChart::NoAnimation);
    m_view = new QChartView(m_chart, this);
    m_view->setObjectName(QStringLiteral("chartView"));
    m_view->setRenderHint(QPainter::Antialiasing);
    m_value->setObjectName(QStringLiteral("chartValue"));

    auto* save = new QPushButton(QStringLiteral("画像で保存"), this);
    save->setObjectName(QStringLiteral("chartSaveButton"));
    save->setAutoDefault(false);
    connect(save, &QPushButton::clicked, this, &TPurchaseChartWindow::SaveButtonClick);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_value, 1);
    bottom->addWidget(save);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view, 1);
    layout->addLayout(bottom);

    Redraw();
}

void TPurchaseChartWindow::Redraw() {
    const QString year = m_filters.filterYear();
    m_bars = PurchaseChartBars(*m_context.costs, year, m_filters.filterMonth());
    m_chart->removeAllSeries();
    // The chart gives a removed axis back to its caller rather than deleting it.
    for (QAbstractAxis* axis : m_chart->axes()) {
        m_chart->removeAxis(axis);
        delete axis;
    }
    m_value->clear();

    auto* set = new QBarSet(QStringLiteral("購入金額"));
    set->setColor(kBarColour);
    set->setBorderColor(kBarColour.darker(120));
    set->setSelectedColor(kChosenColour);
    qint64 largest = 0;
    for (int i = 0; i < m_bars.size(); ++i) {
        set->append(qreal(m_bars[i].total));
        largest = std::max(largest, m_bars[i].total);
        if (m_bars[i].highlighted)
            set->selectBar(i);
    }
    auto* series = new QBarSeries;
    series->append(set);
    connect(series, &QBarSeries::hovered, this,
            [this](bool status, int index, QBarSet*) { BarHovered(status, index); });
    m_chart->addSeries(series);
    m_chart->setTitle(chartTitle(year));
    setAxes(largest);
}

// Yen with thousands separators, which a plain value axis cannot write.
void TPurchaseChartWindow::setAxes(qint64 largest) {
    auto* categories = new QBarCategoryAxis;
    for (const ChartBar& bar : m_bars)
        categories->append(bar.label);
    auto* values = new QCategoryAxis;
    values->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    const QList<qint64> ticks = ChartTicks(largest);
    for (qint64 tick : ticks)
        values->append(yen(tick), qreal(tick));
    values->setRange(0, qreal(std::max(ticks.last(), largest)));
    m_chart->addAxis(categories, Qt::AlignBottom);
    m_chart->addAxis(values, Qt::AlignLeft);
    for (QAbstractSeries* series : m_chart->series()) {
        series->attachAxis(categories);
        series->attachAxis(values);
    }
    fitBarLabels();
}

// A ledger of many years leaves each bar less room than its label "2012年"
// needs, and the axis would cut every label to "20…". Turned on its side, each stays whole.
void TPurchaseChartWindow::fitBarLabels() {
    QAbstractAxis* axis = m_chart->axes(Qt::Horizontal).value(0);
    if (!axis || m_bars.isEmpty())
        return;
    const QFontMetrics metrics(axis->labelsFont());
    int widest = 0;
    for (const ChartBar& bar : m_bars)
        widest = std::max(widest, metrics.horizontalAdvance(bar.label));
    // The value axis with its yen labels and the margins take this much of the view.
    constexpr int kBesideThePlot = 170;
    const qreal room = qreal(m_view->width() - kBesideThePlot) / m_bars.size();
    const bool turned = widest + metrics.averageCharWidth() > room;
    axis->setLabelsAngle(turned ? -90 : 0);
    // The axis cuts labels to the bar's width even when they are turned.
    axis->setTruncateLabels(!turned);
}

void TPurchaseChartWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitBarLabels();
}

void TPurchaseChartWindow::BarHovered(bool status, int index) {
    if (!status || index < 0 || index >= m_bars.size()) {
        m_value->clear();
        QToolTip::hideText();
        return;
    }
    const QString text = m_bars[index].label + QStringLiteral("　") + yen(m_bars[index].total);
    m_value->setText(text);
    QToolTip::showText(QCursor::pos(), text, m_view);
}

void TPurchaseChartWindow::SaveButtonClick() {
    Platform& platform = *m_context.platform;
    const QString path = platform.saveFileName({QStringLiteral("purchaseGraph"), SaveKind::Picture,
                                                QStringLiteral("kounyu_graph.png"),
                                                QStringLiteral("PNG (*.png);;JPEG (*.jpg *.jpeg)")});
    if (path.isEmpty())
        return;
    const QImage image = m_view->grab().toImage();
    try {
        const QByteArray bytes = isJpegName(path) ? image::encodeJpeg(image) : pngBytes(image);
        const QString failure = writeExportFile(path, bytes, platform.dataFolder());
        if (!failure.isEmpty())
            platform.error(failure);
    } catch (const std::exception& e) {
        platform.error(QString::fromUtf8(e.what()));
    }
}

TPurchaseChartWindow* showPurchaseChart(QWidget& owner, const PurchaseFilters& filters, AppContext& context) {
    TPurchaseChartWindow* window =
        owner.findChild<TPurchaseChartWindow*>(QString(), Qt::FindDirectChildrenOnly);
    // A closed window is on its way out.
    if (!window || !window->isVisible()) {
        window = new TPurchaseChartWindow(context, filters, owner);
        window->move(owner.window()->geometry().center() - window->rect().center());
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}
