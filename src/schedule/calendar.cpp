#include "schedule/calendar.h"

#include "store/text_rules.h"

namespace {

constexpr int kSaturday = 6; // ISO weekday numbers: Monday 1 to Sunday 7
constexpr int kWeeksPerMonth = 5;

} // namespace

std::optional<int> WholeNumber(const QString& text) {
    const std::optional<qint64> value =
        store::WholeNumber(text, store::Width::Bits32, store::Blanks::Refused);
    return value ? std::optional<int>(int(*value)) : std::nullopt;
}

int WholeNumberOrZero(const QString& text) {
    return WholeNumber(text).value_or(0);
}

QString MonthWeekText(const QString& tuki, const QString& shuu) {
    return store::MonthWeekText(tuki, shuu);
}

QString MonthWeek::displayText() const {
    return MonthWeekText(monthText(), weekText());
}

std::optional<MonthWeek> MonthWeek::fromTexts(const QString& tuki, const QString& shuu) {
    const std::optional<int> month = WholeNumber(tuki);
    const std::optional<int> week = WholeNumber(shuu);
    if (!month || !week || *month < 1 || *month > 12 || *week < 1 || *week > kWeeksPerMonth)
        return std::nullopt;
    return MonthWeek{*month, *week};
}

int WeekOfMonth(const QDate& date) {
    if (!date.isValid())
        return 0;
    // The date itself is not counted: a Saturday belongs to the week it closes.
    int week = 1;
    for (QDate day(date.year(), date.month(), 1); day < date; day = day.addDays(1))
        if (day.dayOfWeek() == kSaturday)
            ++week;
    return week;
}

MonthWeek WeeksBefore(const MonthWeek& start, int n) {
    const int week = start.week - n;
    if (week >= 1)
        return MonthWeek{start.month, week};
    const int month = start.month == 1 ? 12 : start.month - 1;
    return MonthWeek{month, week + kWeeksPerMonth};
}

TodayWeek::TodayWeek(const QDate& today)
    : m_valid(today.isValid()), m_monthNumber(today.month()), m_weekNumber(WeekOfMonth(today)),
      m_month(QString::number(m_monthNumber)), m_week(QString::number(m_weekNumber)) {}

bool TodayWeek::isThisMonth(const QString& tuki) const {
    return m_valid && tuki == m_month;
}

bool TodayWeek::isThisWeek(const QString& tuki, const QString& shuu) const {
    if (!isThisMonth(tuki))
        return false;
    return shuu == m_week || (m_weekNumber == 6 && shuu == QLatin1String("5"));
}

bool TodayWeek::isPast(const QString& tuki, const QString& shuu, bool completed) const {
    if (!m_valid || completed)
        return false;
    const std::optional<int> month = WholeNumber(tuki);
    const std::optional<int> week = WholeNumber(shuu);
    if (!month || !week)
        return false;
    if (*month < m_monthNumber)
        return true;
    return tuki == m_month && *week < m_weekNumber;
}

bool IsThisMonth(const QString& tuki, const QDate& today) {
    return TodayWeek(today).isThisMonth(tuki);
}

bool IsThisWeek(const QString& tuki, const QString& shuu, const QDate& today) {
    return TodayWeek(today).isThisWeek(tuki, shuu);
}

bool IsPast(const QString& tuki, const QString& shuu, bool completed, const QDate& today) {
    return TodayWeek(today).isPast(tuki, shuu, completed);
}
