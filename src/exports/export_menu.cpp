#include "exports/export_menu.h"

#include "exports/calendar_export.h"
#include "exports/csv_export.h"
#include "store/export_file.h"
#include "exports/export_messages.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"
#include "widgets/app_context.h"
#include "widgets/platform.h"

#include <QDateTime>
#include <QMenu>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace {

const QString kCalendarFilter = QStringLiteral("iCalendar (*.ics)");
const QString kCsvFilter = QStringLiteral("CSV (*.csv)");
constexpr int kArrowWidth = 11;

} // namespace

TExportButton::TExportButton(AppContext& context, PurchaseFilters purchaseFilters, QWidget* parent)
    : QToolButton(parent), m_context(context), m_purchaseFilters(std::move(purchaseFilters)) {
    setObjectName(QStringLiteral("exportButton"));
    setText(QStringLiteral("書き出し"));
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    setPopupMode(QToolButton::InstantPopup);
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("exportMenu"));
    setMenu(menu);
    addEntry(QStringLiteral("カレンダー (.ics)"), "exportCalendarAction", &TExportButton::ExportCalendar);
    addEntry(QStringLiteral("購入履歴 (CSV)"), "exportPurchasesAction", &TExportButton::ExportPurchases);
    addEntry(QStringLiteral("作物一覧 (CSV)"), "exportCropsAction", &TExportButton::ExportCrops);
}

QAction* TExportButton::addEntry(const QString& caption, const char* objectName,
                                 void (TExportButton::*handler)()) {
    QAction* action = menu()->addAction(caption);
    action->setObjectName(QString::fromLatin1(objectName));
    connect(action, &QAction::triggered, this, handler);
    return action;
}

QSize TExportButton::sizeHint() const {
    return QToolButton::sizeHint() + QSize(kArrowWidth, 0);
}

// The style draws its menu arrow over the caption's last character; here the
// caption keeps its place and a small arrow follows it.
void TExportButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    option.features &= ~QStyleOptionToolButton::HasMenu;
    const QString caption = option.text;
    option.text.clear();
    painter.drawComplexControl(QStyle::CC_ToolButton, option);
    const QRect inside = option.rect.adjusted(2, 0, -kArrowWidth, 0);
    painter.drawItemText(inside, Qt::AlignCenter, palette(), isEnabled(), caption, QPalette::ButtonText);
    QStyleOption arrow;
    arrow.initFrom(this);
    arrow.rect = QRect(inside.right(), option.rect.center().y() - 4, 9, 9);
    painter.drawPrimitive(QStyle::PE_IndicatorArrowDown, arrow);
}

bool TExportButton::save(const QString& dialog, const QString& proposed, const QString& filter,
                         const QByteArray& bytes) {
    Platform& platform = *m_context.platform;
    const QString path = platform.saveFileName({dialog, SaveKind::Export, proposed, filter});
    if (path.isEmpty())
        return false;
    const QString failure = writeExportFile(path, bytes, platform.dataFolder());
    if (failure.isEmpty())
        return true;
    platform.error(failure);
    return false;
}

void TExportButton::ExportCalendar() {
    const CalendarPlan plan = PlanCalendar(*m_context.tasks, m_context.platform->today());
    const QByteArray ics = CalendarIcs(plan, QDateTime::currentDateTimeUtc());
    if (save(QStringLiteral("calendarExport"), QStringLiteral("yotei.ics"), kCalendarFilter, ics))
        m_context.platform->message(exportmsg::calendarWritten(int(plan.events.size()), plan.leftOut));
}

void TExportButton::ExportPurchases() {
    const auto [year, month] = m_purchaseFilters();
    const CsvExport csv = PurchasesCsv(m_context.costs->Filter(year, month));
    if (save(QStringLiteral("purchaseExport"), QStringLiteral("kounyu.csv"), kCsvFilter, csv.bytes))
        m_context.platform->message(exportmsg::purchasesWritten(csv.records, csv.rows));
}

void TExportButton::ExportCrops() {
    const CsvExport csv = CropsCsv(*m_context.crops);
    if (save(QStringLiteral("cropExport"), QStringLiteral("sakumotu.csv"), kCsvFilter, csv.bytes))
        m_context.platform->message(exportmsg::cropsWritten(csv.records));
}
