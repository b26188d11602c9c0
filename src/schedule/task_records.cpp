#include "schedule/task_records.h"

#include "schedule/calendar.h"
#include "schedule/task_merge.h"
#include "store/keyed_sort.h"
#include "store/text_lines.h"

#include <algorithm>
#include <compare>
#include <functional>
#include <utility>

QString TYotei::WeekText() const {
    return MonthWeekText(tuki, shuu);
}

QString TYotei::NoteText() const {
    return store::joinLines(note);
}

QString TYotei::NoteOneLine() const {
    QStringList written;
    for (const QString& line : note)
        if (!line.trimmed().isEmpty())
            written << line;
    return written.join(QStringLiteral(" / "));
}

bool IsThisMonth(const TYotei& task, const QDate& today) {
    return IsThisMonth(task.tuki, today);
}

bool IsThisWeek(const TYotei& task, const QDate& today) {
    return IsThisWeek(task.tuki, task.shuu, today);
}

bool IsPast(const TYotei& task, const QDate& today) {
    return IsPast(task.tuki, task.shuu, task.isDone(), today);
}

int CompareByWeek(const TYotei& a, const TYotei& b) {
    const auto order = std::pair(WholeNumberOrZero(a.tuki), WholeNumberOrZero(a.shuu)) <=>
                       std::pair(WholeNumberOrZero(b.tuki), WholeNumberOrZero(b.shuu));
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

namespace {

using Match = std::function<bool(const TYotei&)>;

Match matchFor(const QString& key, const TodayWeek& now) {
    if (key == kFilterThisWeek)
        return [&now](const TYotei& t) { return now.isThisWeek(t.tuki, t.shuu); };
    if (key == kFilterThisMonth)
        return [&now](const TYotei& t) { return now.isThisMonth(t.tuki); };
    if (key == kFilterPast)
        return [&now](const TYotei& t) { return now.isPast(t.tuki, t.shuu, t.isDone()); };
    if (key == kFilterAll)
        return [](const TYotei&) { return true; };
    if (key == kFilterDone)
        return [](const TYotei& t) { return t.isDone(); };
    return Match();
}

} // namespace

void TYoteiRefList::FindDuplicates(TYoteiRefList& out) const {
    out.m_items = yotei_merge::duplicates(m_items);
}

void TYoteiRefList::FindMergeable(TYoteiRefList& out) const {
    out.m_items = yotei_merge::mergeable(m_items);
}

void TYoteiRefList::RemoveDuplicates() {
    keepOnly(yotei_merge::withoutDuplicates(m_items));
}

void TYoteiRefList::MergeSameWeek() {
    keepOnly(yotei_merge::mergeSameWeek(m_items));
}

void TYoteiRefList::keepOnly(const QList<bool>& keep) {
    QList<TYotei*> kept;
    for (qsizetype i = 0; i < m_items.size(); ++i)
        if (keep[i])
            kept.append(m_items[i]);
    m_items = kept;
}

bool TYoteiList::remove(const TYotei* task) {
    const int i = indexOf(task);
    if (i < 0)
        return false;
    remove(i);
    return true;
}

QList<TYotei*> TYoteiList::items() const {
    QList<TYotei*> tasks;
    tasks.reserve(qsizetype(m_items.size()));
    for (const auto& task : m_items)
        tasks.append(task.get());
    return tasks;
}

void TYoteiList::Filter(const QString& key, const QDate& today, TYoteiRefList& out) const {
    out.clear();
    const TodayWeek now(today);
    const Match match = matchFor(key, now);
    if (!match)
        return;
    for (const auto& task : m_items)
        if (match(*task))
            out.append(task.get());
}

void TYoteiList::SortByWeek() {
    store::sortByKeys(m_items, [](const TYotei& task) {
        return std::pair(WholeNumberOrZero(task.tuki), WholeNumberOrZero(task.shuu));
    });
}

void TYoteiList::ClearStates() {
    for (auto& task : m_items)
        task->state.clear();
}

void TYoteiList::FindDuplicates(TYoteiRefList& out) const {
    out = TYoteiRefList(yotei_merge::duplicates(items()));
}

void TYoteiList::FindMergeable(TYoteiRefList& out) const {
    out = TYoteiRefList(yotei_merge::mergeable(items()));
}

void TYoteiList::RemoveDuplicates() {
    keepOnly(yotei_merge::withoutDuplicates(items()));
}

void TYoteiList::MergeSameWeek() {
    keepOnly(yotei_merge::mergeSameWeek(items()));
}

void TYoteiList::keepOnly(const QList<bool>& keep) {
    std::vector<std::unique_ptr<TYotei>> kept;
    kept.reserve(m_items.size());
    for (size_t i = 0; i < m_items.size(); ++i)
        if (keep[qsizetype(i)])
            kept.push_back(std::move(m_items[i]));
    m_items = std::move(kept); // the tasks left behind are destroyed here
}
