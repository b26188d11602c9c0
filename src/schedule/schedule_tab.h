#pragma once

#include <QWidget>
#include <functional>

class QButtonGroup;
class QHBoxLayout;
class TListView3;
class TSakumotu2;
class TYotei;
struct AppContext;

// The tab 予定: the task list under one of five filters, and the task commands.
// It works on the main window's schedule; every change is saved at once.
class TScheduleTab : public QWidget {
    Q_OBJECT
public:
    TScheduleTab(AppContext& context, QWidget* parent = nullptr);

    TListView3* list() const { return m_list; }
    QButtonGroup* filters() const { return m_filters; }
    // Places a control at the right of the filter row, where the row has room.
    void addBesideFilters(QWidget* widget);

    // The task card lives elsewhere; it plugs in here.
    std::function<void(TYotei& task)> showTaskCard;

    // Refills the rows under the chosen filter with today's date, read afresh.
    void YoteiRadioButtonClick();
    // Ticks the task's row and scrolls to it.
    void ShowTask(const TYotei* task);

    void DoneButtonClick();
    void UndoneButtonClick();
    void QuoteButtonClick();
    void AddButtonClick();
    void ChangeButtonClick();
    void ShowButtonClick();
    void DeleteButtonClick();
    void MergeButtonClick();
    void ClearButtonClick();

signals:
    // After every refresh: each change of the schedule, an undo and a reload end in one.
    void refreshed();

private:
    void buildFilters(class QVBoxLayout* layout);
    void buildCommands(class QVBoxLayout* layout);
    QString filterKey() const;
    void showTasks();
    TYotei* checkedTask();
    void setState(const QString& state, const QString& command);
    TSakumotu2* pickPlanEntry();
    bool save();

    AppContext& m_context;
    TListView3* m_list;
    QButtonGroup* m_filters;
    QHBoxLayout* m_filterRow = nullptr;
};
