#pragma once

#include <QDate>
#include <QString>
#include <optional>

// The gardening year is kept by month and week of the month, never by date and
// never with a year: the same month-week names the same week in every year.
// Week of the month: the 1st up to and including the first Saturday is week 1,
// every later Saturday closes the next week (so a month has 4 to 6 weeks).
// Nothing here reads the clock; today's date is always handed in.

// A text read as a whole number: an optional sign and ASCII digits, nothing else.
std::optional<int> WholeNumber(const QString& text);
// The same, with every other text read as 0 (the rule for sorting).
int WholeNumberOrZero(const QString& text);

struct MonthWeek {
    int month = 0; // 1 to 12
    int week = 0;  // 1 to 5

    // Decimal digits without leading zeros, as files and selection lists hold them.
    QString monthText() const { return QString::number(month); }
    QString weekText() const { return QString::number(week); }
    // For example 4月2週.
    QString displayText() const;

    // A month 1 to 12 and a week 1 to 5 written as whole numbers; anything else gives nothing.
    static std::optional<MonthWeek> fromTexts(const QString& tuki, const QString& shuu);

    friend bool operator==(const MonthWeek&, const MonthWeek&) = default;
};

// Display form of a month and week as records keep them, texts taken as they are.
QString MonthWeekText(const QString& tuki, const QString& shuu);

// 1 to 6 for a valid date (Saturday is the last day of its week); 0 for an invalid one.
int WeekOfMonth(const QDate& date);

// Steps back n weeks counting five weeks to every month; before January comes December.
MonthWeek WeeksBefore(const MonthWeek& start, int n);

// Today's month and week as texts, worked out once and compared with many tasks.
class TodayWeek {
public:
    explicit TodayWeek(const QDate& today);

    bool isValid() const { return m_valid; }
    const QString& monthText() const { return m_month; }
    const QString& weekText() const { return m_week; }

    bool isThisMonth(const QString& tuki) const;
    // During a sixth week the tasks of week 5 are this week's.
    bool isThisWeek(const QString& tuki, const QString& shuu) const;
    // No year: in January nothing of an earlier month exists, December is eleven months ahead.
    // A month or week that is not a whole number is never past.
    bool isPast(const QString& tuki, const QString& shuu, bool completed) const;

private:
    bool m_valid;
    int m_monthNumber;
    int m_weekNumber;
    QString m_month;
    QString m_week;
};

bool IsThisMonth(const QString& tuki, const QDate& today);
bool IsThisWeek(const QString& tuki, const QString& shuu, const QDate& today);
bool IsPast(const QString& tuki, const QString& shuu, bool completed, const QDate& today);
