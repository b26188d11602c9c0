#include "harvest/this_day.h"

#include "harvest/harvest_records.h"

#include <cstdlib>

bool IsSameDaysInEarlierYear(const QDate& date, const QDate& around) {
    if (!date.isValid() || !around.isValid())
        return false;
    // The window of k years back is centred on around.addYears(-k); only the
    // two years nearest the date's own can hold it.
    for (int back = around.year() - date.year() - 1; back <= around.year() - date.year() + 1; ++back) {
        if (back < 1)
            continue;
        const QDate centre = around.addYears(-back);
        if (std::abs(centre.daysTo(date)) <= kThisDaySpan)
            return true;
    }
    return false;
}

ThisDay ThisDayInEarlierYears(const TShukakuList& harvests, const TNikkiList& entries, const QDate& around) {
    ThisDay found;
    for (int i = 0; i < harvests.count(); ++i)
        if (IsSameDaysInEarlierYear(harvests.at(i)->date, around))
            found.harvests.push_back(harvests.at(i));
    for (int i = 0; i < entries.count(); ++i)
        if (IsSameDaysInEarlierYear(entries.at(i)->date, around))
            found.entries.push_back(entries.at(i));
    return found;
}
