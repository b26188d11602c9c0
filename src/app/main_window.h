#pragma once

#include "app/window_memory.h"
#include "notebook/notebook.h"
#include "widgets/app_context.h"

#include <QImage>
#include <QWidget>
#include <memory>

class PageView;
class Platform;
class QHBoxLayout;
class QTabWidget;
class QToolButton;
class TCropTab;
class TPlanTab;
class TScheduleTab;
class TPurchaseTab;
class TFavouritesTab;
class TPassingNote;
class TUndoCommands;
namespace history {
class History;
}

// The main window. It owns the notebook for the whole run, builds the seven
// tabs and, when first shown, loads the notebook's lists in their fixed order.
class TForm5 : public QWidget {
    Q_OBJECT
public:
    explicit TForm5(Platform& platform, QWidget* parent = nullptr);
    ~TForm5() override;

    AppContext& context() { return m_context; }
    QTabWidget* tabWidget() const { return m_tabs; }
    TCropTab* cropTab() const { return m_cropTab; }
    TPlanTab* planTab() const { return m_planTab; }
    TScheduleTab* scheduleTab() const { return m_scheduleTab; }
    TPurchaseTab* purchaseTab() const { return m_purchaseTab; }
    TFavouritesTab* favouritesTab() const { return m_favouritesTab; }
    // Null when the platform keeps no history.
    TUndoCommands* undoCommands() const { return m_undo; }

    // Reads the named data files again into the lists that hold them and
    // refreshes every tab that shows them, as at start-up: after an undo,
    // redo or restore wrote them, or a save into them failed.
    void ReloadData(const QStringList& files);

    // The window 検索 (Ctrl+F, and その他): opens with what was looked for last.
    void openSearch();
    // 設定… of その他: the user's preferences; the chart shows a new caption at once.
    void openSettings();
    // After a delete or a clear; null while none was shown, or when no history is kept.
    TPassingNote* passingNote() const { return m_note; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildTabs();
    QWidget* buildCorner();
    // Places a widget in the tab row's corner, left of the help button.
    void addCornerWidget(QWidget* widget);
    QToolButton* buildHelpButton();
    void openHistory();
    QToolButton* buildHistoryButton();
    QToolButton* buildMoreButton();
    PageView* buildBrowser(const char* objectName);
    void FormShow();
    // After a failed save or an undo set right: as soon as no dialog that may
    // hold records of the lists is open.
    void requestReload(const QStringList& files);
    void showRecoveryNotes();
    void forgetRecords();
    void startBrowsers();
    // Reads one list of the notebook and shows it in its tab.
    void start(Notebook::List list);
    void startCrops();
    void startTasks();
    void startPurchases();
    void startFavourites();

    Platform& m_platform;
    Notebook m_notebook;
    // The notebook's lists by the names the tabs know them by.
    TGroupList& m_plan = m_notebook.plan; // the current plan
    TSakumotuList& m_crops = m_notebook.crops;
    TYoteiList& m_tasks = m_notebook.tasks;
    TCostList& m_costs = m_notebook.costs;
    TOkiniList& m_okini = m_notebook.okini;
    QImage m_chart;
    AppContext m_context;
    // After the lists: the history reads what they are loaded from.
    std::unique_ptr<history::History> m_history;
    TUndoCommands* m_undo = nullptr;
    TPassingNote* m_note = nullptr;
    QString m_lastSearch;

    QTabWidget* m_tabs = nullptr;
    QHBoxLayout* m_cornerRow = nullptr;
    PageView* m_infoBrowser = nullptr;
    PageView* m_osusumeBrowser = nullptr;
    TCropTab* m_cropTab = nullptr;
    TPlanTab* m_planTab = nullptr;
    TScheduleTab* m_scheduleTab = nullptr;
    TPurchaseTab* m_purchaseTab = nullptr;
    TFavouritesTab* m_favouritesTab = nullptr;
    bool m_shown = false;
    WindowMemory m_memory;
    QStringList m_pendingReload;
};
