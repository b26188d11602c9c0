#pragma once

#include <QWidget>

struct AppContext;
class TListView3;

// The tab 作物一覧: the crop catalogue and its commands.
class TCropTab : public QWidget {
    Q_OBJECT
public:
    TCropTab(AppContext& context, QWidget* parent = nullptr);

    TListView3* list() const { return m_list; }
    void RefreshCropList();

private:
    AppContext& m_context;
    TListView3* m_list;
};
