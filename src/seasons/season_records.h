#pragma once

#include "plans/plan_records.h"
#include "schedule/task_records.h"
#include "store/message_sink.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

// The seasons of a notebook: the year each plan is for, the plans kept as
// past seasons and the schedules kept at each yearly clear. They live in
// files of their own (store/notebook_files.h). A year is a whole number 1..9999.
namespace seasons {

inline constexpr int kFirstYear = 1;
inline constexpr int kLastYear = 9999;

// A plan kept as it stood, under its year; never changed afterwards.
struct PastPlan {
    int year = 0;
    QString file; // the plan file it was kept from
    QDate kept;
    std::unique_ptr<TGroupList> plan; // its name is the plan's name when kept
};

// The schedule as it stood before a yearly clear, every mark included.
struct PastSchedule {
    int year = 0;
    QDate kept;
    std::unique_ptr<TYoteiList> tasks;
};

// The year a clear done on that day ends: January to March still close the previous year.
int YearEndingOn(const QDate& day);

class Seasons {
public:
    // folder ends with a slash. A missing file is an empty one; a file that
    // cannot be read, or holds a year, a plan file or a date it may not,
    // gives the load message and keeps what was read before.
    bool LoadFromFolder(const QString& folder, store::MessageSink& sink);
    bool SaveYears(const QString& folder, store::MessageSink& sink) const;
    bool SavePastPlans(const QString& folder, store::MessageSink& sink) const;
    bool SavePastSchedules(const QString& folder, store::MessageSink& sink) const;

    std::optional<int> yearOf(const QString& planFile) const;
    // Plans without a year of their own are for today's year.
    int yearOrToday(const QString& planFile, const QDate& today) const;
    void setYear(const QString& planFile, std::optional<int> year);

    const std::vector<PastPlan>& pastPlans() const { return m_plans; }
    const PastPlan* findPastPlan(int year, const QString& planFile) const;
    // A copy of plan under that year, in place of one kept before for the same year and file.
    void keepPlan(int year, const QString& planFile, const QString& planName, const TGroupList& plan,
                  const QDate& today);

    const std::vector<PastSchedule>& pastSchedules() const { return m_schedules; }
    void keepSchedule(int year, const TYoteiList& tasks, const QDate& today);

private:
    bool loadYears(const QString& folder, store::MessageSink& sink);
    bool loadPastPlans(const QString& folder, store::MessageSink& sink);
    bool loadPastSchedules(const QString& folder, store::MessageSink& sink);

    QHash<QString, int> m_years;
    std::vector<PastPlan> m_plans;
    std::vector<PastSchedule> m_schedules;
};

// A plan's copy: colours, groups and entries, every stored field.
void CopyPlan(const TGroupList& from, TGroupList& to);

} // namespace seasons
