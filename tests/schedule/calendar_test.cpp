#include "schedule/calendar.h"

#include <QtTest>

class CalendarTest : public QObject {
    Q_OBJECT

private slots:
    void weekOfMonth_data();
    void weekOfMonth();
    void firstOfEveryMonthIsWeekOne();
    void saturdayClosesItsWeek();
    void invalidDateHasNoWeek();
    void weeksBefore_data();
    void weeksBefore();
    void textForms();
    void fromTexts_data();
    void fromTexts();
    void wholeNumber_data();
    void wholeNumber();
    void predicates_data();
    void predicates();
    void todayWeekTexts_data();
    void todayWeekTexts();
};

// Each row: a run of days of one month and the week all of them belong to.
void CalendarTest::weekOfMonth_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("firstDay");
    QTest::addColumn<int>("lastDay");
    QTest::addColumn<int>("week");

    // March 2025: 31 days from a Saturday.
    QTest::newRow("31 from Sat, week 1") << 2025 << 3 << 1 << 1 << 1;
    QTest::newRow("31 from Sat, week 2") << 2025 << 3 << 2 << 8 << 2;
    QTest::newRow("31 from Sat, week 3") << 2025 << 3 << 9 << 15 << 3;
    QTest::newRow("31 from Sat, week 4") << 2025 << 3 << 16 << 22 << 4;
    QTest::newRow("31 from Sat, week 5") << 2025 << 3 << 23 << 29 << 5;
    QTest::newRow("31 from Sat, week 6") << 2025 << 3 << 30 << 31 << 6;
    // June 2025: 30 days from a Sunday.
    QTest::newRow("30 from Sun, week 1") << 2025 << 6 << 1 << 7 << 1;
    QTest::newRow("30 from Sun, week 2") << 2025 << 6 << 8 << 14 << 2;
    QTest::newRow("30 from Sun, week 3") << 2025 << 6 << 15 << 21 << 3;
    QTest::newRow("30 from Sun, week 4") << 2025 << 6 << 22 << 28 << 4;
    QTest::newRow("30 from Sun, week 5") << 2025 << 6 << 29 << 30 << 5;
    // February 2026: 28 days from a Sunday, four full weeks.
    QTest::newRow("28 from Sun, week 1") << 2026 << 2 << 1 << 7 << 1;
    QTest::newRow("28 from Sun, week 2") << 2026 << 2 << 8 << 14 << 2;
    QTest::newRow("28 from Sun, week 3") << 2026 << 2 << 15 << 21 << 3;
    QTest::newRow("28 from Sun, week 4") << 2026 << 2 << 22 << 28 << 4;
    // August 2025: 31 days from a Friday.
    QTest::newRow("31 from Fri, week 1") << 2025 << 8 << 1 << 2 << 1;
    QTest::newRow("31 from Fri, week 2") << 2025 << 8 << 3 << 9 << 2;
    QTest::newRow("31 from Fri, week 3") << 2025 << 8 << 10 << 16 << 3;
    QTest::newRow("31 from Fri, week 4") << 2025 << 8 << 17 << 23 << 4;
    QTest::newRow("31 from Fri, week 5") << 2025 << 8 << 24 << 30 << 5;
    QTest::newRow("31 from Fri, week 6") << 2025 << 8 << 31 << 31 << 6;
}

void CalendarTest::weekOfMonth() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, firstDay);
    QFETCH(int, lastDay);
    QFETCH(int, week);

    for (int day = firstDay; day <= lastDay; ++day)
        QCOMPARE(WeekOfMonth(QDate(year, month, day)), week);
}

void CalendarTest::firstOfEveryMonthIsWeekOne() {
    for (int year = 2024; year <= 2030; ++year)
        for (int month = 1; month <= 12; ++month)
            QCOMPARE(WeekOfMonth(QDate(year, month, 1)), 1);
}

void CalendarTest::saturdayClosesItsWeek() {
    QCOMPARE(QDate(2025, 6, 7).dayOfWeek(), 6);
    QCOMPARE(WeekOfMonth(QDate(2025, 6, 7)), 1);
    QCOMPARE(WeekOfMonth(QDate(2025, 6, 8)), 2);
}

void CalendarTest::invalidDateHasNoWeek() {
    QCOMPARE(WeekOfMonth(QDate()), 0);
}

void CalendarTest::weeksBefore_data() {
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("week");
    QTest::addColumn<int>("n");
    QTest::addColumn<int>("expectedMonth");
    QTest::addColumn<int>("expectedWeek");

    QTest::newRow("5/3 - 2") << 5 << 3 << 2 << 5 << 1;
    QTest::newRow("5/2 - 2") << 5 << 2 << 2 << 4 << 5;
    QTest::newRow("5/1 - 2") << 5 << 1 << 2 << 4 << 4;
    QTest::newRow("5/2 - 1") << 5 << 2 << 1 << 5 << 1;
    QTest::newRow("5/5 - 1") << 5 << 5 << 1 << 5 << 4;
    QTest::newRow("1/1 - 1") << 1 << 1 << 1 << 12 << 5;
    QTest::newRow("1/2 - 2") << 1 << 2 << 2 << 12 << 5;
    QTest::newRow("1/1 - 2") << 1 << 1 << 2 << 12 << 4;
    QTest::newRow("3/1 - 1") << 3 << 1 << 1 << 2 << 5;
    QTest::newRow("12/1 - 1") << 12 << 1 << 1 << 11 << 5;
}

void CalendarTest::weeksBefore() {
    QFETCH(int, month);
    QFETCH(int, week);
    QFETCH(int, n);
    QFETCH(int, expectedMonth);
    QFETCH(int, expectedWeek);

    const MonthWeek result = WeeksBefore(MonthWeek{month, week}, n);
    QCOMPARE(result.month, expectedMonth);
    QCOMPARE(result.week, expectedWeek);
}

void CalendarTest::textForms() {
    const MonthWeek value{4, 2};
    QCOMPARE(value.monthText(), QStringLiteral("4"));
    QCOMPARE(value.weekText(), QStringLiteral("2"));
    QCOMPARE(value.displayText(), QStringLiteral("4月2週"));
    QCOMPARE(MonthWeek({12, 5}).displayText(), QStringLiteral("12月5週"));
    QCOMPARE(MonthWeekText(QStringLiteral("10"), QStringLiteral("3")), QStringLiteral("10月3週"));
}

void CalendarTest::fromTexts_data() {
    QTest::addColumn<QString>("tuki");
    QTest::addColumn<QString>("shuu");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("week");

    QTest::newRow("4/2") << "4"
                         << "2" << true << 4 << 2;
    QTest::newRow("12/5") << "12"
                          << "5" << true << 12 << 5;
    QTest::newRow("1/1") << "1"
                         << "1" << true << 1 << 1;
    QTest::newRow("month 0") << "0"
                             << "1" << false << 0 << 0;
    QTest::newRow("month 13") << "13"
                              << "1" << false << 0 << 0;
    QTest::newRow("week 0") << "4"
                            << "0" << false << 0 << 0;
    QTest::newRow("week 6") << "4"
                            << "6" << false << 0 << 0;
    QTest::newRow("empty month") << ""
                                 << "1" << false << 0 << 0;
    QTest::newRow("word week") << "4"
                               << "x" << false << 0 << 0;
}

void CalendarTest::fromTexts() {
    QFETCH(QString, tuki);
    QFETCH(QString, shuu);
    QFETCH(bool, valid);
    QFETCH(int, month);
    QFETCH(int, week);

    const std::optional<MonthWeek> value = MonthWeek::fromTexts(tuki, shuu);
    QCOMPARE(value.has_value(), valid);
    if (valid)
        QCOMPARE(*value, (MonthWeek{month, week}));
}

void CalendarTest::wholeNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("whole");
    QTest::addColumn<int>("value");

    QTest::newRow("12") << "12" << true << 12;
    QTest::newRow("0") << "0" << true << 0;
    QTest::newRow("leading zero") << "05" << true << 5;
    QTest::newRow("minus") << "-3" << true << -3;
    QTest::newRow("plus") << "+4" << true << 4;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("sign alone") << "-" << false << 0;
    QTest::newRow("word") << "abc" << false << 0;
    QTest::newRow("leading blank") << " 5" << false << 0;
    QTest::newRow("trailing blank") << "5 " << false << 0;
    QTest::newRow("full-width digit") << "５" << false << 0;
    QTest::newRow("decimal") << "1.5" << false << 0;
    QTest::newRow("too large") << "99999999999" << false << 0;
}

void CalendarTest::wholeNumber() {
    QFETCH(QString, text);
    QFETCH(bool, whole);
    QFETCH(int, value);

    QCOMPARE(WholeNumber(text).has_value(), whole);
    QCOMPARE(WholeNumberOrZero(text), value);
}

void CalendarTest::predicates_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("tuki");
    QTest::addColumn<QString>("shuu");
    QTest::addColumn<bool>("completed");
    QTest::addColumn<bool>("thisMonth");
    QTest::addColumn<bool>("thisWeek");
    QTest::addColumn<bool>("past");

    const QDate week6(2025, 3, 30); // March 2025 starts on a Saturday: the 30th and 31st are week 6
    QTest::newRow("week 6: open week 5 is this week and past") << week6 << "3"
                                                               << "5" << false << true << true << true;
    QTest::newRow("week 6, 31st: open week 5") << QDate(2025, 3, 31) << "3"
                                               << "5" << false << true << true << true;
    QTest::newRow("week 6: done week 5 is this week, not past") << week6 << "3"
                                                                << "5" << true << true << true << false;
    QTest::newRow("week 6: week 4 is past") << week6 << "3"
                                            << "4" << false << true << false << true;
    QTest::newRow("week 6: next month is ahead") << week6 << "4"
                                                 << "1" << false << false << false << false;

    const QDate lastOfFebruary(2026, 2, 28); // 28 days from a Sunday: the last day is week 4
    QTest::newRow("28-day Feb: week 5 not yet") << lastOfFebruary << "2"
                                                << "5" << false << true << false << false;
    QTest::newRow("28-day Feb: week 4 is this week") << lastOfFebruary << "2"
                                                     << "4" << false << true << true << false;
    QTest::newRow("1 March: Feb week 5 is past") << QDate(2026, 3, 1) << "2"
                                                 << "5" << false << false << false << true;

    const QDate january(2026, 1, 5); // week 2 of January
    QTest::newRow("January: December never past") << january << "12"
                                                  << "5" << false << false << false << false;
    QTest::newRow("January: November never past") << january << "11"
                                                  << "1" << false << false << false << false;
    QTest::newRow("January: week 1 past") << january << "1"
                                          << "1" << false << true << false << true;
    QTest::newRow("January: week 2 this week") << january << "1"
                                               << "2" << false << true << true << false;
    QTest::newRow("December: January past") << QDate(2025, 12, 1) << "1"
                                            << "3" << false << false << false << true;

    const QDate firstOfJune(2025, 6, 1);
    QTest::newRow("1st: previous month past") << firstOfJune << "5"
                                              << "5" << false << false << false << true;
    QTest::newRow("1st: week 1 not past") << firstOfJune << "6"
                                          << "1" << false << true << true << false;
    QTest::newRow("1st: done previous month") << firstOfJune << "5"
                                              << "1" << true << false << false << false;
    QTest::newRow("Saturday 7th still week 1") << QDate(2025, 6, 7) << "6"
                                               << "1" << false << true << true << false;
    QTest::newRow("Sunday 8th: week 1 past") << QDate(2025, 6, 8) << "6"
                                             << "1" << false << true << false << true;
    QTest::newRow("Sunday 8th: week 2 now") << QDate(2025, 6, 8) << "6"
                                            << "2" << false << true << true << false;

    QTest::newRow("done this week") << QDate(2025, 6, 10) << "6"
                                    << "2" << true << true << true << false;
    QTest::newRow("later month ahead") << QDate(2025, 6, 10) << "9"
                                       << "1" << false << false << false << false;
    QTest::newRow("month 10 after 9") << QDate(2025, 10, 1) << "9"
                                      << "5" << false << false << false << true;

    const QDate june(2025, 6, 20);
    QTest::newRow("word month") << june << "x"
                                << "1" << false << false << false << false;
    QTest::newRow("word week, this month") << june << "6"
                                           << "x" << false << true << false << false;
    QTest::newRow("word week, earlier month") << june << "5"
                                              << "x" << false << false << false << false;
    QTest::newRow("empty texts") << june << ""
                                 << "" << false << false << false << false;
    QTest::newRow("leading zero month is not this month") << june << "06"
                                                          << "1" << false << false << false << false;
    QTest::newRow("invalid date") << QDate() << "0"
                                  << "1" << false << false << false << false;
}

void CalendarTest::predicates() {
    QFETCH(QDate, today);
    QFETCH(QString, tuki);
    QFETCH(QString, shuu);
    QFETCH(bool, completed);
    QFETCH(bool, thisMonth);
    QFETCH(bool, thisWeek);
    QFETCH(bool, past);

    QCOMPARE(IsThisMonth(tuki, today), thisMonth);
    QCOMPARE(IsThisWeek(tuki, shuu, today), thisWeek);
    QCOMPARE(IsPast(tuki, shuu, completed, today), past);
}

void CalendarTest::todayWeekTexts_data() {
    QTest::addColumn<QDate>("today");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("week");

    QTest::newRow("1 Jan") << QDate(2026, 1, 1) << "1"
                           << "1";
    QTest::newRow("31 Mar 2025") << QDate(2025, 3, 31) << "3"
                                 << "6";
    QTest::newRow("24 Dec 2025") << QDate(2025, 12, 24) << "12"
                                 << "4";
}

void CalendarTest::todayWeekTexts() {
    QFETCH(QDate, today);
    QFETCH(QString, month);
    QFETCH(QString, week);

    const TodayWeek now(today);
    QVERIFY(now.isValid());
    QCOMPARE(now.monthText(), month);
    QCOMPARE(now.weekText(), week);
}

QTEST_GUILESS_MAIN(CalendarTest)
#include "calendar_test.moc"
