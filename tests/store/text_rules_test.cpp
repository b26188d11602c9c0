#include "plans/plan_records.h"
#include "purchases/purchase_records.h"
#include "schedule/calendar.h"
#include "store/text_rules.h"

#include <QtTest>
#include <limits>

namespace {

constexpr qint64 kNone = std::numeric_limits<qint64>::min() + 1; // the reader refused the text

// What each caller makes of a text today: the plan files and the schedule refuse
// what is no whole number, a purchase counts it as 0.
qint64 readBy(const QString& caller, const QString& text) {
    if (caller == "plans")
        return wholeNumber(text).has_value() ? *wholeNumber(text) : kNone;
    if (caller == "schedule")
        return WholeNumber(text).has_value() ? *WholeNumber(text) : kNone;
    TSina purchase;
    purchase.kingaku = text;
    return purchase.Amount();
}

} // namespace

class TextRulesTest : public QObject {
    Q_OBJECT

private slots:
    void eachCallerReadsWholeNumbersAsBefore_data() {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("value");
        const qint64 max64 = std::numeric_limits<qint64>::max();
        const qint64 min64 = std::numeric_limits<qint64>::min();
        struct Row {
            const char* name;
            QString text;
            qint64 plans; // the schedule reads as the plans do
            qint64 purchases;
        };
        const Row rows[] = {
            {"digits", "12", 12, 12},
            {"leading zeros", "007", 7, 7},
            {"plus", "+12", 12, 12},
            {"minus", "-12", -12, -12},
            {"sign alone", "-", kNone, 0},
            {"two signs", "+-1", kNone, 0},
            {"empty", "", kNone, 0},
            {"blank", " ", kNone, 0},
            {"leading blank", " 12", kNone, 12},
            {"trailing blank", "12 ", kNone, 12},
            {"tab and newline", "\t12\n", kNone, 12},
            {"blank after sign", "- 1", kNone, 0},
            {"blank inside", "1 2", kNone, 0},
            {"ideographic space", QStringLiteral("\u300012"), kNone, 0},
            {"no-break space", QStringLiteral("\u00a012"), kNone, 0},
            {"full-width digits", QStringLiteral("１２"), kNone, 0},
            {"full-width minus", QStringLiteral("－12"), kNone, 0},
            {"minus sign", QStringLiteral("\u221212"), kNone, 0},
            {"group separator", "1,000", kNone, 0},
            {"exponent", "1e3", kNone, 0},
            {"hexadecimal", "0x10", kNone, 0},
            {"32-bit top", "2147483647", 2147483647, 2147483647},
            {"32-bit over", "2147483648", kNone, 2147483648LL},
            {"32-bit bottom", "-2147483648", -2147483648LL, -2147483648LL},
            {"32-bit under", "-2147483649", kNone, -2147483649LL},
            {"64-bit top", "9223372036854775807", kNone, max64},
            {"64-bit over", "9223372036854775808", kNone, 0},
            {"64-bit bottom", "-9223372036854775808", kNone, min64},
            {"64-bit under", "-9223372036854775809", kNone, 0},
            {"twenty digits", "18446744073709551616", kNone, 0},
            {"long run of zeros", "000000000000000000000000012", 12, 12},
        };
        for (const Row& row : rows) {
            for (const char* caller : {"plans", "schedule"})
                QTest::addRow("%s: %s", caller, row.name) << QString(caller) << row.text << row.plans;
            QTest::addRow("purchases: %s", row.name)
                << QStringLiteral("purchases") << row.text << row.purchases;
        }
    }

    void eachCallerReadsWholeNumbersAsBefore() {
        QFETCH(QString, caller);
        QFETCH(QString, text);
        QFETCH(qint64, value);
        QCOMPARE(readBy(caller, text), value);
    }

    // The purchase dialog's list of days reads its year and month by the ledger's rule.
    void dayListReadsYearAndMonthAsBefore_data() {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("month");
        QTest::addColumn<int>("days");
        QTest::newRow("leap February") << "2024"
                                       << "2" << 29;
        QTest::newRow("blanks around") << " 2024\t"
                                       << " 2 " << 29;
        QTest::newRow("plus") << "+2023"
                              << "+2" << 28;
        QTest::newRow("full-width year") << QStringLiteral("２０２４") << "2" << 0;
        QTest::newRow("full-width month") << "2024" << QStringLiteral("２") << 0;
        QTest::newRow("64-bit year") << "9223372036854775807"
                                     << "1" << 31;
        QTest::newRow("64-bit over") << "9223372036854775808"
                                     << "1" << 0;
        QTest::newRow("32-bit over month") << "2024"
                                           << "4294967298" << 0;
        QTest::newRow("month 13") << "2024"
                                  << "13" << 0;
    }

    void dayListReadsYearAndMonthAsBefore() {
        QFETCH(QString, year);
        QFETCH(QString, month);
        QFETCH(int, days);
        QCOMPARE(DayList(year, month).size(), days);
    }
};

QTEST_GUILESS_MAIN(TextRulesTest)
#include "text_rules_test.moc"
