#pragma once

#include "seasons/season_records.h"

#include <QHash>
#include <QObject>
#include <optional>

class QLabel;
class QMenu;
class QToolButton;
class QWidget;
class TPlanTab;
class TScheduleTab;
class TSakumotu2;
struct AppContext;

namespace seasons {

class RotationBook;

// What the seasons add to the plan and schedule tabs: the year of each plan
// (set from the plan tab), keeping a plan as a past season, the past seasons
// and schedules to look at, the 連作表, and the 連作障害 question and marks,
// handed to the tabs through AppContext's hooks. Every file it writes is a
// change of its own in the history.
class TSeasonPanel : public QObject {
    Q_OBJECT
public:
    TSeasonPanel(AppContext& context, TPlanTab* planTab, TScheduleTab* scheduleTab,
                 QObject* parent = nullptr);

    // Reads the seasons' files: at start, and after an undo brought one back.
    void Load();
    const Seasons& seasons() const { return m_seasons; }

    QToolButton* yearButton() const { return m_yearButton; }
    QLabel* warningLabel() const { return m_warning; }
    QToolButton* pastScheduleButton() const { return m_pastSchedules; }

    // The commands behind the menus.
    void SetYear(std::optional<int> year);
    void KeepSeason(); // 年度を保存
    void ShowPastPlan(int index);
    void ShowPastSchedule(int index);
    void ShowRotationTable();

    bool ConfirmPlacing(QWidget* dialog, const QString& crop, const QString& groupName);
    QString ClearQuestionLine();
    bool KeepScheduleBeforeClear();
    QString EntryNote(const TSakumotu2& entry) const { return m_notes.value(&entry); }

private:
    void buildPlanControls(TPlanTab* planTab);
    void buildScheduleControls(TScheduleTab* scheduleTab);
    void fillPlanMenu();
    void fillScheduleMenu();
    void planShown();
    RotationBook book() const;
    int planYear() const;

    AppContext& m_context;
    Seasons m_seasons;
    QHash<const TSakumotu2*, QString> m_notes; // the current plan's entries planted too soon
    QToolButton* m_yearButton;
    QMenu* m_planMenu;
    QLabel* m_warning;
    QToolButton* m_pastSchedules;
    QMenu* m_scheduleMenu;
};

} // namespace seasons
