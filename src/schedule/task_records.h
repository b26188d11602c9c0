#pragma once

#include "store/message_sink.h"
#include "store/notebook_files.h"
#include "store/owning_list.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

// The schedule. yotei = a gardening task; tuki = month, shuu = week of the month
// (texts as the calendar writes them); state = open (empty), added or done.

inline const QString kYoteiDone = QStringLiteral("完了");
// Added by a dialog since the program started. Counts as open and is never stored.
inline const QString kYoteiAdded = QStringLiteral("追加");

// The keys the schedule tab's filter buttons hand to Filter.
inline const QString kFilterThisWeek = QStringLiteral("今週");
inline const QString kFilterThisMonth = QStringLiteral("今月");
inline const QString kFilterPast = QStringLiteral("過ぎてる");
inline const QString kFilterAll = QStringLiteral("すべて");
inline const QString kFilterDone = QStringLiteral("完了");

class TYotei {
public:
    QString name;
    QString state;
    QString tuki;
    QString shuu;
    QStringList note;

    bool isDone() const { return state == kYoteiDone; }
    // For example 4月2週.
    QString WeekText() const;
    // Every line followed by CR LF, as the file and the note cell hold it.
    QString NoteText() const;
    // The lines that hold any text joined by " / ", readable in a one-line
    // cell; empty and blank lines are left out.
    QString NoteOneLine() const;
};

// Calendar predicates on a task, with today's date handed in.
bool IsThisMonth(const TYotei& task, const QDate& today);
bool IsThisWeek(const TYotei& task, const QDate& today);
bool IsPast(const TYotei& task, const QDate& today);

// Ascending by month, then week, each read as a whole number (other texts as 0).
int CompareByWeek(const TYotei& a, const TYotei& b);

// A list that refers to tasks owned elsewhere: filter results, duplicate lists,
// working copies. Removing from it never destroys a task.
class TYoteiRefList {
public:
    TYoteiRefList() = default;
    explicit TYoteiRefList(const QList<TYotei*>& tasks) : m_items(tasks) {}

    int count() const { return int(m_items.size()); }
    TYotei* at(int i) const { return m_items.at(i); }
    const QList<TYotei*>& items() const { return m_items; }
    int indexOf(const TYotei* task) const { return int(m_items.indexOf(task)); }
    void append(TYotei* task) { m_items.append(task); }
    void remove(int i) { m_items.removeAt(i); }
    void clear() { m_items.clear(); }

    void FindDuplicates(TYoteiRefList& out) const;
    void FindMergeable(TYoteiRefList& out) const;
    void RemoveDuplicates();
    void MergeSameWeek();

private:
    void keepOnly(const QList<bool>& keep);

    QList<TYotei*> m_items;
};

// The schedule in list order. Owns its tasks: removing one destroys it.
class TYoteiList : private store::OwningList<TYotei> {
public:
    using OwningList::at;
    using OwningList::count;
    using OwningList::indexOf;
    // A new task with empty texts and an empty note, appended at the end.
    using OwningList::add;
    using OwningList::remove;
    bool remove(const TYotei* task);
    using OwningList::clear;
    // The tasks in list order, for a working copy.
    QList<TYotei*> items() const;

    // folder ends with a slash. Both return false when the file could not be read
    // or written in full; the sink gets the message wherever one is due.
    bool LoadFromFile(const QString& folder, store::MessageSink& sink);
    bool SaveToFile(const QString& folder, store::MessageSink& sink) const;

    // Empties out and appends, in list order, the tasks matching the key; an
    // unknown key matches nothing.
    void Filter(const QString& key, const QDate& today, TYoteiRefList& out) const;
    void SortByWeek();
    // Clears every mark, done and added alike, for the next year.
    void ClearStates();

    // The merge rules: see task_merge.h.
    void FindDuplicates(TYoteiRefList& out) const;
    void FindMergeable(TYoteiRefList& out) const;
    void RemoveDuplicates();
    void MergeSameWeek();

private:
    void keepOnly(const QList<bool>& keep);
};
