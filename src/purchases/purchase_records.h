#pragma once

#include "store/message_sink.h"
#include "store/notebook_files.h"
#include "store/owning_list.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <memory>
#include <vector>

// Purchase ledger records. cost = purchase, sina = purchase line (one item bought),
// kingaku = amount in whole yen, nen / tuki / hi = year / month / day.
// Dates and amounts stay the texts the gardener typed; they become numbers only
// for sums, sorting and the day list, and a text that is no number counts as 0.

inline const QString kCostAllEntries = QStringLiteral("すべて");
inline const QString kCostTotalPrefix = QStringLiteral("合計 ");
inline const QString kCostYenSuffix = QStringLiteral("円");

// The amount grouped by three with the thousands separator of the default locale
// (the comma in Japanese); a text that is no 64-bit whole number gives "0".
QString MoneyText(const QString& amount);
QString MoneyText(qint64 amount);

// "1", "2", ... up to the length of that month in that year (Gregorian leap years).
// Empty when either text is empty, is no whole number, or the month is not 1 to 12.
QStringList DayList(const QString& year, const QString& month);

class TSina {
public:
    QString name;
    QString kingaku;

    QString AmountText() const;
    // The amount as a number, 0500 as 500; a text that is no whole number counts as 0.
    qint64 Amount() const;
    void CopyFrom(const TSina& other);
};

// The lines of one purchase, in the order of entry. Owns its lines.
class TSinaList : private store::OwningList<TSina> {
public:
    using OwningList::add;
    using OwningList::at;
    using OwningList::clear;
    using OwningList::count;
    using OwningList::indexOf;
    using OwningList::remove;
    void CopyFrom(const TSinaList& other) { OwningList::CopyFrom(other); }

    // Sums as 64 bits so that large amounts never wrap.
    qint64 LinesTotal() const;
    // For each line, the total of that line and of every line after it.
    QList<qint64> RemainingTotals() const;
};

class TCost {
public:
    QString nen;
    QString tuki;
    QString hi;
    TSinaList sina;

    QString DateText() const;
    QString NamesText() const;
};

// Negative, zero or positive: year, then month, then day, read as numbers.
qint64 CompareByDate(const TCost& a, const TCost& b);

// Purchases picked out of the purchase list by Filter. Refers to them and owns
// nothing: it must not outlive the list it came from.
class TCostRefList {
public:
    int count() const { return int(m_items.size()); }
    TCost* at(int i) const { return m_items[size_t(i)]; }
    const std::vector<TCost*>& items() const { return m_items; }
    void append(TCost* cost) { m_items.push_back(cost); }

    qint64 ListTotal() const;

private:
    std::vector<TCost*> m_items;
};

// The purchase list of the main window, kept oldest first. Owns its purchases.
class TCostList : private store::OwningList<TCost> {
public:
    using OwningList::add;
    using OwningList::at;
    using OwningList::clear;
    using OwningList::count;
    using OwningList::indexOf;
    using OwningList::remove;

    // Oldest first by CompareByDate; purchases of one date keep their order.
    void SortByDate();
    // Every purchase of that year and month in list order; kCostAllEntries matches any.
    TCostRefList Filter(const QString& year, const QString& month) const;
    // Distinct years, and months of one year, in text order under the locale's
    // case-insensitive comparison (so 10 comes before 2).
    QStringList YearList() const;
    QStringList MonthList(const QString& year) const;
    qint64 ListTotal() const;

    // folder ends with a slash. Both report their one message to the sink and return false on failure.
    bool LoadFromFile(const QString& folder, store::MessageSink& sink);
    bool SaveToFile(const QString& folder, store::MessageSink& sink) const;
};
