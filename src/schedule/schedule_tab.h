#pragma once

#include <QWidget>

class QButtonGroup;
class TListView3;
struct AppContext;

// The tab 予定: the task list under one of five filters, and the task commands.
class TScheduleTab : public QWidget {
    Q_OBJECT
public:
    TScheduleTab(AppContext& context, QWidget* parent = nullptr);

    TListView3* list() const { return m_list; }
    QButtonGroup* filters() const { return m_filters; }

private:
    void buildFilters(class QVBoxLayout* layout);
    void buildCommands(class QVBoxLayout* layout);

    AppContext& m_context;
    TListView3* m_list;
    QButtonGroup* m_filters;
};
