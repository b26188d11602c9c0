#pragma once

#include <QDate>
#include <vector>

class TShukaku;
class TShukakuList;
class TNikki;
class TNikkiList;

// この日の記録: what was harvested and written on the same days of earlier
// years. A day belongs when it lies within seven days of the same date in an
// earlier year; 29 February stands for 28 February in a year without it, and a
// window that crosses the year's end reaches into the year before or after
// (2 January looks back to late December of the year before last).
inline constexpr int kThisDaySpan = 7;

bool IsSameDaysInEarlierYear(const QDate& date, const QDate& around);

struct ThisDay {
    std::vector<TShukaku*> harvests; // oldest first
    std::vector<TNikki*> entries;    // oldest first
};
ThisDay ThisDayInEarlierYears(const TShukakuList& harvests, const TNikkiList& entries, const QDate& around);
