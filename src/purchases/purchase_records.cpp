#include "purchases/purchase_records.h"

#include "store/keyed_sort.h"
#include "store/text_rules.h"

#include <QCollator>
#include <QLocale>
#include <algorithm>
#include <array>
#include <limits>

namespace {

// Date parts and amounts as the ledger has always read them: blanks around the
// number are let pass, and what is no number counts as 0.
qint64 wholeNumber(const QString& text) {
    return store::WholeNumber(text, store::Width::Bits64, store::Blanks::Around).value_or(0);
}

// Sums stop at the ends of the 64-bit range instead of wrapping to the other sign.
qint64 addClamped(qint64 sum, qint64 value) {
    qint64 result = 0;
    if (!__builtin_add_overflow(sum, value, &result))
        return result;
    return value > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
}

qint64 difference(qint64 a, qint64 b) {
    qint64 result = 0;
    if (!__builtin_sub_overflow(a, b, &result))
        return result;
    return a < b ? -1 : 1;
}

bool isLeapYear(qint64 year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(qint64 year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && isLeapYear(year))
        return 29;
    return days[month - 1];
}

// Distinct texts in ascending order, where texts that differ only in case are
// one text; the first one met is the one kept.
class DistinctTexts {
public:
    DistinctTexts() : m_collator(QLocale()) {}

    void insert(const QString& text) {
        // The list is kept by date, so the same year or month comes many times in a row.
        if (m_seenAny && text == m_lastSeen)
            return;
        m_seenAny = true;
        m_lastSeen = text;
        const QString key = text.toCaseFolded();
        auto it = std::lower_bound(
            m_entries.begin(), m_entries.end(), key,
            [this](const Entry& e, const QString& k) { return m_collator.compare(e.key, k) < 0; });
        if (it != m_entries.end() && m_collator.compare(it->key, key) == 0)
            return;
        m_entries.insert(it, Entry{key, text});
    }

    QStringList texts() const {
        QStringList result;
        for (const Entry& e : m_entries)
            result << e.text;
        return result;
    }

private:
    struct Entry {
        QString key;
        QString text;
    };
    QCollator m_collator;
    std::vector<Entry> m_entries;
    QString m_lastSeen;
    bool m_seenAny = false;
};

} // namespace

QString MoneyText(qint64 amount) {
    const QLocale locale;
    const quint64 magnitude = amount < 0 ? 0 - quint64(amount) : quint64(amount);
    QString text = QString::number(magnitude);
    for (qsizetype at = text.size() - 3; at > 0; at -= 3)
        text.insert(at, locale.groupSeparator());
    return amount < 0 ? locale.negativeSign() + text : text;
}

QString MoneyText(const QString& amount) {
    return MoneyText(wholeNumber(amount));
}

QStringList DayList(const QString& year, const QString& month) {
    const std::optional<qint64> y = store::WholeNumber(year, store::Width::Bits64, store::Blanks::Around);
    const std::optional<qint64> m = store::WholeNumber(month, store::Width::Bits32, store::Blanks::Around);
    QStringList days;
    if (!y || !m || *m < 1 || *m > 12)
        return days;
    const int count = daysInMonth(*y, int(*m));
    for (int d = 1; d <= count; ++d)
        days << QString::number(d);
    return days;
}

QString TSina::AmountText() const {
    return MoneyText(kingaku) + kCostYenSuffix;
}

qint64 TSina::Amount() const {
    return wholeNumber(kingaku);
}

void TSina::CopyFrom(const TSina& other) {
    name = other.name;
    kingaku = other.kingaku;
}

qint64 TSinaList::LinesTotal() const {
    qint64 total = 0;
    for (const auto& line : m_items)
        total = addClamped(total, line->Amount());
    return total;
}

QList<qint64> TSinaList::RemainingTotals() const {
    QList<qint64> totals(count());
    qint64 total = 0;
    for (int i = count() - 1; i >= 0; --i)
        totals[i] = total = addClamped(total, at(i)->Amount());
    return totals;
}

QString TCost::DateText() const {
    return nen + QLatin1Char('/') + tuki + QLatin1Char('/') + hi;
}

QString TCost::NamesText() const {
    QStringList names;
    for (int i = 0; i < sina.count(); ++i)
        names << sina.at(i)->name;
    return names.join(QStringLiteral("、"));
}

qint64 CompareByDate(const TCost& a, const TCost& b) {
    const qint64 years = difference(wholeNumber(a.nen), wholeNumber(b.nen));
    if (years != 0)
        return years;
    const qint64 months = difference(wholeNumber(a.tuki), wholeNumber(b.tuki));
    if (months != 0)
        return months;
    return difference(wholeNumber(a.hi), wholeNumber(b.hi));
}

qint64 TCostRefList::ListTotal() const {
    qint64 total = 0;
    for (const TCost* cost : m_items)
        total = addClamped(total, cost->sina.LinesTotal());
    return total;
}

void TCostList::SortByDate() {
    // The same order as CompareByDate.
    store::sortByKeys(m_items, [](const TCost& cost) {
        return std::array<qint64, 3>{wholeNumber(cost.nen), wholeNumber(cost.tuki), wholeNumber(cost.hi)};
    });
}

TCostRefList TCostList::Filter(const QString& year, const QString& month) const {
    TCostRefList result;
    for (const auto& cost : m_items)
        if ((year == kCostAllEntries || year == cost->nen) &&
            (month == kCostAllEntries || month == cost->tuki))
            result.append(cost.get());
    return result;
}

QStringList TCostList::YearList() const {
    DistinctTexts years;
    for (const auto& cost : m_items)
        years.insert(cost->nen);
    return years.texts();
}

QStringList TCostList::MonthList(const QString& year) const {
    DistinctTexts months;
    for (const auto& cost : m_items)
        if (cost->nen == year)
            months.insert(cost->tuki);
    return months.texts();
}

qint64 TCostList::ListTotal() const {
    qint64 total = 0;
    for (const auto& cost : m_items)
        total = addClamped(total, cost->sina.LinesTotal());
    return total;
}
