#include "plans/plan_chart.h"
#include "plans/plan_records.h"

#include <cstdlib>

namespace {

// January is drawn after December, as month 13.
std::optional<qint64> chartMonth(const QString& text) {
    const std::optional<int> month = wholeNumber(text);
    if (!month)
        return std::nullopt;
    return *month == 1 ? 13 : qint64(*month);
}

// A hand-edited file can hold numbers that would put the arrow anywhere; only
// coordinates the painter can handle are placed.
std::optional<int> chartX(qint64 x) {
    if (std::llabs(x) > chart::kFarAway)
        return std::nullopt;
    return int(x);
}

void placeArrow(TSakumotu2& entry) {
    entry.hasStart = false;
    entry.hasEnd = false;
    const std::optional<qint64> s = chartMonth(entry.StTuki);
    const std::optional<int> stWeek = wholeNumber(entry.StShuu);
    if (!s || !stWeek)
        return;
    const std::optional<int> stX = chartX(chart::kLabelWidth + chart::kMonthWidth * (*s - 2) +
                                          chart::kWeekWidth * (qint64(*stWeek) - 1));
    if (!stX)
        return;
    entry.StX = *stX;
    entry.hasStart = true;

    std::optional<qint64> e = chartMonth(entry.EdTuki);
    const std::optional<int> edWeek = wholeNumber(entry.EdShuu);
    if (!e || !edWeek)
        return;
    if (*e < *s)
        *e += 12; // the period runs into the following year
    const std::optional<int> edX =
        chartX(chart::kLabelWidth + chart::kMonthWidth * (*e - 2) + chart::kWeekWidth * qint64(*edWeek));
    if (!edX)
        return;
    entry.EdX = *edX;
    entry.hasEnd = true;
}

void layoutGroup(TGroup& group, int& y) {
    group.Top = y;
    group.SortEntries();
    for (int i = 0; i < group.count(); ++i) {
        TSakumotu2& entry = *group.at(i);
        if (i > 0 && entry.ichi != group.at(i - 1)->ichi)
            y += chart::kRowHeight;
        entry.Y = y;
        if (!entry.IsDummy())
            placeArrow(entry);
    }
    y += chart::kRowHeight;
    group.Bottom = y;
}

} // namespace

void TGroupList::Layout() {
    SortGroups();
    int y = chart::kHeaderHeight;
    for (const auto& group : m_items)
        if (group->count() > 0) // a group without entries takes no room
            layoutGroup(*group, y);
}

int TGroupList::ChartHeight() const {
    int rows = 0;
    for (const auto& group : m_items)
        rows += group->RowCount();
    return chart::kHeaderHeight + chart::kRowHeight * rows;
}
