#pragma once

#include <QDate>
#include <QList>
#include <QStringList>
#include <algorithm>
#include <memory>
#include <set>
#include <vector>

inline const QString kHarvestAllEntries = QStringLiteral("すべて");

// A list of dated records, kept oldest first, that owns them. The harvest log
// and the diary are both such lists: narrowed by year and month as the
// purchase tab narrows purchases. T has a QDate `date`.
template <class T> class DatedList {
public:
    int count() const { return int(m_items.size()); }
    T* at(int i) const { return m_items[size_t(i)].get(); }
    int indexOf(const T* record) const {
        for (size_t i = 0; i < m_items.size(); ++i)
            if (m_items[i].get() == record)
                return int(i);
        return -1;
    }
    T* add() {
        m_items.push_back(std::make_unique<T>());
        return m_items.back().get();
    }
    void remove(int i) { m_items.erase(m_items.begin() + i); }
    void clear() { m_items.clear(); }

    // Oldest first; records of one day keep their order.
    void SortByDate() {
        std::stable_sort(
            m_items.begin(), m_items.end(),
            [](const std::unique_ptr<T>& a, const std::unique_ptr<T>& b) { return a->date < b->date; });
    }
    // Every record of that year and month, oldest first; kHarvestAllEntries matches any.
    std::vector<T*> Filter(const QString& year, const QString& month) const {
        const bool anyYear = year == kHarvestAllEntries;
        const bool anyMonth = month == kHarvestAllEntries;
        const int y = year.toInt();
        const int m = month.toInt();
        std::vector<T*> shown;
        for (const auto& record : m_items)
            if ((anyYear || record->date.year() == y) && (anyMonth || record->date.month() == m))
                shown.push_back(record.get());
        return shown;
    }
    // Distinct years, and months of one year, as numbers in ascending order.
    QStringList YearList() const {
        std::set<int> years;
        for (const auto& record : m_items)
            years.insert(record->date.year());
        return texts(years);
    }
    QStringList MonthList(const QString& year) const {
        std::set<int> months;
        const int y = year.toInt();
        for (const auto& record : m_items)
            if (record->date.year() == y)
                months.insert(record->date.month());
        return texts(months);
    }

protected:
    std::vector<std::unique_ptr<T>> m_items;

private:
    static QStringList texts(const std::set<int>& numbers) {
        QStringList out;
        for (int n : numbers)
            out << QString::number(n);
        return out;
    }
};
