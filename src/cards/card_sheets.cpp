#include "cards/card_sheets.h"

#include "crops/crop_records.h"
#include "harvest/harvest_records.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"

namespace cards {

namespace {

constexpr int kLineHeight = 20;
// Value fields stop short of the frame's right edge and bottom.
constexpr int kValueRightGap = 20;
constexpr int kFieldBottomGap = 48;

CardText caption(const QString& text, int y, FontKind font = FontKind::Caption) {
    return {{nearEdge(kCaptionX), nearEdge(y), nearEdge(kDividerX), nearEdge(y + kLineHeight)}, text, font};
}

CardText value(const QString& text, int y) {
    return {{nearEdge(kValueX), nearEdge(y), farEdge(kValueRightGap), nearEdge(y + kLineHeight)}, text};
}

// A multi-line field in the fixed-pitch font, from y down to the frame's bottom.
CardText multiLineValue(const QString& text, int y) {
    CardText field{{nearEdge(kValueX), nearEdge(y), farEdge(kValueRightGap), farEdge(kFieldBottomGap)},
                   text,
                   FontKind::MultiLine};
    field.multiLine = true;
    field.wrap = true;
    return field;
}

void addPeriods(CardSheet& sheet, const TJikiList& periods) {
    static const int kPeriodY[kShownPeriods] = {133, 151, 170, 189, 208};
    for (int i = 0; i < kShownPeriods && i < periods.count(); ++i)
        sheet.texts << value(PeriodText(*periods.at(i)), kPeriodY[i]);
}

} // namespace

CardSheet cropSheet(const TSakumotu& crop) {
    CardSheet sheet;
    sheet.clientSize = kCropCardSize;
    sheet.dividers = {89, 123, 229, 265};
    sheet.valueDividers = {55};
    sheet.texts << caption(QStringLiteral("作物名"), 29) << value(crop.name, 29) << value(crop.kamoku, 64)
                << caption(QStringLiteral("お気に入り品種"), 98, FontKind::SmallCaption)
                << value(crop.VarietiesText(), 98) << caption(QStringLiteral("栽培期間"), 133)
                << caption(QStringLiteral("条間と株間"), 239) << value(crop.SpacingText(), 239)
                << caption(QStringLiteral("栽培メモ"), 278)
                << multiLineValue(crop.memo.join(QLatin1Char('\n')), 278);
    addPeriods(sheet, crop.jiki);
    return sheet;
}

CardSheet taskSheet(const TYotei& task) {
    CardSheet sheet;
    sheet.clientSize = kTaskCardSize;
    sheet.dividers = {89, 123};
    // Up to three lines in a field 54 pixels high.
    CardText name = value(task.name, 29);
    name.place.bottom = nearEdge(29 + 54);
    name.multiLine = true;
    name.wrap = true;
    name.lineStep = 18;
    sheet.texts << caption(QStringLiteral("予定"), 29) << name
                << caption(QStringLiteral("予定週"), 98, FontKind::SmallCaption) << value(task.WeekText(), 98)
                << caption(QStringLiteral("ノート"), 133)
                << multiLineValue(task.note.join(QLatin1Char('\n')), 133);
    return sheet;
}

namespace {

// The total sits at y 516 of the 586-pixel card and follows the bottom edge.
constexpr int kTotalRise = 586 - 516;

// Names at x 128, 273 wide; amounts at x 407, 60 wide, right-aligned. Lines
// never wrap here, so each amount stays level with its name.
CardLines purchaseLines(const TSinaList& sina) {
    CardLines lines;
    lines.place = {nearEdge(kValueX), nearEdge(72), farEdge(kPurchaseCardSize.width() - 467),
                   farEdge(kTotalRise + 2)};
    lines.figureWidth = 60;
    lines.gap = 407 - 401;
    const QList<qint64> remaining = sina.RemainingTotals();
    for (int i = 0; i < sina.count(); ++i) {
        lines.names << sina.at(i)->name;
        lines.figures << sina.at(i)->AmountText();
        lines.restNames << QStringLiteral("ほか %1 件").arg(sina.count() - i);
        lines.restFigures << MoneyText(remaining.at(i)) + kCostYenSuffix;
    }
    return lines;
}

} // namespace

CardSheet purchaseSheet(const TCost& cost) {
    CardSheet sheet;
    sheet.clientSize = kPurchaseCardSize;
    sheet.dividers = {57};
    const int width = kPurchaseCardSize.width();
    sheet.texts << caption(QStringLiteral("日付"), 29) << value(cost.DateText(), 29)
                << caption(QStringLiteral("購入品"), 72);
    sheet.lines << purchaseLines(cost.sina);
    CardText total{
        {nearEdge(kValueX), farEdge(kTotalRise), farEdge(width - 467), farEdge(kTotalRise - kLineHeight)},
        kCostTotalPrefix + MoneyText(cost.sina.LinesTotal()) + kCostYenSuffix,
        FontKind::Value,
        Qt::AlignRight};
    sheet.texts << total;
    return sheet;
}

// 日付, 作物 and 場所 on a line each, the text below them, then the photo.
CardSheet diarySheet(const TNikki& entry) {
    CardSheet sheet;
    sheet.clientSize = kDiaryCardSize;
    sheet.dividers = {55, 89, 123, 226};
    CardText text = multiLineValue(entry.text, 98 + 35);
    text.place.bottom = nearEdge(226 - 4);
    sheet.texts << caption(QStringLiteral("日付"), 29) << value(entry.DateText(), 29)
                << caption(QStringLiteral("作物"), 64) << value(entry.crop, 64)
                << caption(QStringLiteral("場所"), 98) << value(entry.hatake, 98)
                << caption(entry.kind.isEmpty() ? QStringLiteral("日誌") : entry.kind, 133) << text
                << caption(QStringLiteral("写真"), 236);
    if (entry.photos.isEmpty())
        sheet.texts << value(QStringLiteral("（なし）"), 236);
    return sheet;
}

} // namespace cards
