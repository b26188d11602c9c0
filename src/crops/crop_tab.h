#pragma once

#include <QWidget>
#include <functional>

struct AppContext;
class TListView3;
class TSakumotu;
namespace history {
class CommandScope;
}

// The tab 作物一覧: the crop catalogue and its commands.
class TCropTab : public QWidget {
    Q_OBJECT
public:
    TCropTab(AppContext& context, QWidget* parent = nullptr);

    TListView3* list() const { return m_list; }
    void RefreshCropList();
    // Ticks the crop's row and scrolls to it, in whatever order the rows are.
    void ShowCrop(const TSakumotu* crop);

    // The crop card and the printed list live elsewhere; they plug in here.
    std::function<void(TSakumotu& crop)> onShowCropCard;
    std::function<void()> onPrintCropList;

    void AddButtonClick();
    void ChangeButtonClick();
    void ShowButtonClick();
    void DeleteButtonClick();
    void PrintButtonClick();
    void HeaderClick(int column);
    // The column the rows were last sorted by since the list was filled; 0 when none.
    int sortColumn() const { return m_sortColumn; }

private:
    TSakumotu* checkedCrop();
    void renameInPlans(const QString& oldName, const QString& newName, history::CommandScope& change);
    void redrawChart();
    bool hasRealCrops() const;

    AppContext& m_context;
    TListView3* m_list;
    int m_sortColumn = 0;
};
