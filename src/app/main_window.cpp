#include "app/main_window.h"

#include "app/application.h"
#include "app/help_button.h"
#include "app/qt_platform.h"
#include "app/search_kinds.h"
#include "app/settings_dialog.h"
#include "app/tab_row_style.h"
#include "cards/show_card.h"
#include "crops/crop_tab.h"
#include "exports/export_menu.h"
#include "favourites/favourites_tab.h"
#include "harvest/harvest_tab.h"
#include "history/history.h"
#include "history_ui/file_names.h"
#include "history_ui/undo_commands.h"
#include "plans/plan_tab.h"
#include "purchases/purchase_tab.h"
#include "schedule/schedule_tab.h"
#include "search/search_window.h"
#include "seasons/season_panel.h"
#include "store/freed_memory.h"
#include "store/save_file.h"
#include "store/site.h"
#include "sync/notebook_sync.h"
#include "week/live_calendar_dialog.h"
#include "widgets/list_view3.h"
#include "widgets/page_view.h"
#include "widgets/passing_note.h"
#include "widgets/platform.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QMenu>
#include <QScreen>
#include <QShortcut>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

namespace {

// Files read again after an undo up to this size together leave the memory
// their reading freed with the process: a parsed document takes some twenty
// times its file.
constexpr qint64 kFilesReadAgainKeepingTheirMemory = 2 * 1024 * 1024;

} // namespace

TForm5::TForm5(Platform& platform, QWidget* parent)
    : QWidget(parent), m_platform(platform), m_memory(*this, platform.preferences()) {
    m_context.platform = &m_platform;
    m_context.plan = &m_plan;
    m_context.crops = &m_crops;
    m_context.chart = &m_chart;
    m_context.tasks = &m_tasks;
    m_context.costs = &m_costs;
    m_context.okini = &m_okini;
    m_context.harvest = &m_harvest;
    lendCardOpeners(m_context);

    setWindowTitle(kMainCaption);
    setObjectName(QStringLiteral("TForm5"));
    resize(776, 636);
    // The outer window of the original is at least 737 by 672 including its frame.
    setMinimumSize(721, 634);
    buildTabs();
    if (m_platform.keepsHistory())
        openHistory();
    startSync();
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    m_memory.restorePlace();
    m_memory.restoreColumns();
}

// The lists are destroyed before the tabs that show them.
TForm5::~TForm5() {
    forgetRecords();
    delete std::exchange(m_sync, nullptr);
    if (m_history && store::saveRecorder() == m_history.get())
        store::installSaveRecorder(nullptr);
}

// The rows refer to the records; before a list is emptied or read again, they let go.
void TForm5::forgetRecords() {
    m_cropTab->list()->clear();
    m_scheduleTab->list()->clear();
    m_purchaseTab->list()->clear();
    m_harvestTab->harvestList()->clear();
    m_harvestTab->diaryList()->clear();
}

// Before the window opens: an undo a kill cut short is finished or rolled
// back before anything is read.
void TForm5::openHistory() {
    m_history = std::make_unique<history::History>(m_platform.dataFolder());
    // Pruning waits until the command that saved has finished.
    m_history->setDeferral(
        [this](std::function<void()> work) { QTimer::singleShot(0, this, std::move(work)); });
    m_history->setKeepFailedReport([this] { m_platform.message(history::kKeepFailedMessage); });
    m_history->setReloadRequest([this](const QStringList& files) { requestReload(files); });
    store::installSaveRecorder(m_history.get());
    m_context.history = m_history.get();
    m_undo = new TUndoCommands(*m_history, m_platform, *this,
                               [this](const QStringList& files) { ReloadData(files); });
    addCornerWidget(buildHistoryButton());
    m_context.undoableNote = [this](const QString& note) {
        if (!m_note)
            m_note = new TPassingNote(this);
        m_note->pass(note);
    };
}

void TForm5::startSync() {
    const QString folder = m_platform.dataFolder();
    syncing::NotebookSync::Hooks hooks;
    hooks.busy = [] { return QApplication::activeModalWidget() != nullptr; };
    hooks.reload = [this](const QStringList& files) { requestReload(files); };
    hooks.listName = [folder](const QString& file) { return history::FileNames::ofFolder(folder).of(file); };
    hooks.ask = [this](const QString& text) { return m_platform.question(text); };
    hooks.tell = [this](const QString& text) { m_platform.message(text); };
    m_sync = new syncing::NotebookSync(folder, m_history.get(), std::move(hooks), this);
    m_sync->recordChangesWhileClosed();
    m_sync->install();
    // Conflict copies are offered once the window is up.
    QTimer::singleShot(0, m_sync, &syncing::NotebookSync::checkNow);
}

QToolButton* TForm5::buildHistoryButton() {
    auto* button = new QToolButton(this);
    button->setObjectName(QStringLiteral("historyButton"));
    button->setText(QStringLiteral("履歴"));
    button->setToolTip(QStringLiteral("変更の履歴（Ctrl+H）"));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, m_undo, &TUndoCommands::ShowHistory);
    return button;
}

void TForm5::buildTabs() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("PageControl1"));
    QFont tabFont = font();
    tabFont.setPointSize(10);
    m_tabs->setFont(tabFont);
    auto* tabStyle = new TTabRowStyle;
    tabStyle->setParent(m_tabs->tabBar());
    m_tabs->tabBar()->setStyle(tabStyle);
    layout->addWidget(m_tabs);

    m_infoBrowser = buildBrowser("infoBrowser");
    m_cropTab = new TCropTab(m_context, m_tabs);
    m_planTab = new TPlanTab(m_context, m_tabs);
    m_scheduleTab = new TScheduleTab(m_context, m_tabs);
    m_purchaseTab = new TPurchaseTab(m_context, m_tabs);
    m_harvestTab = new THarvestTab(m_context, m_harvest, m_tabs);
    m_osusumeBrowser = buildBrowser("osusumeBrowser");
    m_favouritesTab = new TFavouritesTab(m_context, m_tabs);

    m_tabs->addTab(m_infoBrowser, QStringLiteral("菜園情報"));
    m_tabs->addTab(m_cropTab, QStringLiteral("作物一覧"));
    m_tabs->addTab(m_planTab, QStringLiteral("作付計画"));
    m_tabs->addTab(m_scheduleTab, QStringLiteral("予定"));
    m_tabs->addTab(m_purchaseTab, QStringLiteral("購入履歴"));
    m_tabs->addTab(m_harvestTab, QStringLiteral("収穫・日誌"));
    m_tabs->addTab(m_osusumeBrowser, QStringLiteral("オススメ"));
    m_tabs->addTab(m_favouritesTab, QStringLiteral("お気に入り"));
    m_tabs->setCornerWidget(buildCorner(), Qt::TopRightCorner);
    addCornerWidget(buildMoreButton());
    auto* exports = new TExportButton(
        m_context, [this] { return std::pair(m_purchaseTab->filterYear(), m_purchaseTab->filterMonth()); },
        this);
    addCornerWidget(exports);
    keepCalendarCurrent(*exports->menu(), *m_scheduleTab, m_context);

    m_context.refreshCropList = [this] { m_cropTab->RefreshCropList(); };
    m_context.redrawChart = [this] { m_planTab->Redraw(); };
    m_context.reloadPlan = [this] { m_planTab->SpeedButtonClick(); };
    m_context.noteTaskDone = [this](const QString& taskName) { noteTaskDone(taskName); };
    m_context.renameCropInPlans = [this](const QString& oldName, const QString& newName) {
        return Notebook::renameCropInPlans(m_platform.dataFolder(), oldName, newName, m_platform);
    };
    m_seasons = new seasons::TSeasonPanel(m_context, m_planTab, m_scheduleTab, this);
}

// 「…」 holds the commands of the whole notebook that need no button of their own.
QToolButton* TForm5::buildMoreButton() {
    auto* more = new QToolButton(this);
    more->setObjectName(QStringLiteral("moreButton"));
    more->setText(QStringLiteral("…"));
    more->setToolTip(QStringLiteral("その他"));
    more->setPopupMode(QToolButton::InstantPopup);
    more->setAutoRaise(true);
    more->setFocusPolicy(Qt::NoFocus);
    // The menu's own arrow would be wider than the caption.
    more->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; width: 0; }"));
    auto* menu = new QMenu(more);
    menu->setObjectName(QStringLiteral("moreMenu"));
    QAction* search = menu->addAction(QStringLiteral("検索（Ctrl+F）"), this, &TForm5::openSearch);
    search->setObjectName(QStringLiteral("searchAction"));
    QAction* settings = menu->addAction(QStringLiteral("設定…"), this, &TForm5::openSettings);
    settings->setObjectName(QStringLiteral("settingsAction"));
    more->setMenu(menu);
    // The menu names the key without claiming it, so it is bound on the window.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this), &QShortcut::activated, this,
            &TForm5::openSearch);
    return more;
}

void TForm5::openSearch() {
    TFormSearch window(notebookSearchKinds(*this), m_lastSearch, this);
    window.exec();
    m_lastSearch = window.query();
}

PageView* TForm5::buildBrowser(const char* objectName) {
    auto* view = new PageView(m_platform, m_tabs);
    view->setObjectName(QString::fromLatin1(objectName));
    return view;
}

// The tab row's right-hand corner: commands that belong to no tab, the help button last.
QWidget* TForm5::buildCorner() {
    auto* corner = new QWidget(this);
    corner->setObjectName(QStringLiteral("cornerBar"));
    m_cornerRow = new QHBoxLayout(corner);
    m_cornerRow->setContentsMargins(0, 0, 0, 0);
    m_cornerRow->setSpacing(2);
    m_cornerRow->addWidget(buildHelpButton());
    return corner;
}

void TForm5::addCornerWidget(QWidget* widget) {
    m_cornerRow->insertWidget(m_cornerRow->count() - 1, widget);
}

QToolButton* TForm5::buildHelpButton() {
    auto* help = new QToolButton(this);
    help->setObjectName(QStringLiteral("helpButton"));
    help->setIcon(helpPicture());
    help->setIconSize(QSize(18, 18));
    help->setAutoRaise(true);
    help->setFocusPolicy(Qt::NoFocus);
    connect(help, &QToolButton::clicked, this, [this] { m_platform.openUrl(QUrl(helpPageAddress())); });
    return help;
}

void TForm5::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    FormShow();
}

// Each step completes before the next; a failure no loader caught ends the
// sequence at that step and reaches the general error box.
void TForm5::FormShow() {
    try {
        startBrowsers();
        m_memory.restoreTab();
        start(Notebook::List::Crops);
        m_memory.restoreCropSort();
        m_memory.restorePlan();
        for (Notebook::List list :
             {Notebook::List::PlanCaptions, Notebook::List::CurrentPlan, Notebook::List::Seasons,
              Notebook::List::Tasks, Notebook::List::Purchases, Notebook::List::Harvests,
              Notebook::List::Diary, Notebook::List::Favourites})
            start(list);
    } catch (const std::exception& e) {
        m_platform.error(errorText(e));
    }
    store::giveBackFreedMemory();
    // What the history found at the start is told over the window, once it is on the screen.
    if (m_history && !m_history->recoveryNotes().isEmpty() && windowHandle())
        windowHandle()->installEventFilter(this);
}

bool TForm5::eventFilter(QObject* watched, QEvent* event) {
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
        windowHandle()->removeEventFilter(this);
        QTimer::singleShot(0, this, &TForm5::showRecoveryNotes);
    }
    return QWidget::eventFilter(watched, event);
}

void TForm5::showRecoveryNotes() {
    activateWindow();
    for (const QString& note : m_history->recoveryNotes())
        m_platform.message(note);
}

// A dialog of a tab may hold records of the list being read again, as the
// group list holds the plan's groups: the lists wait until it has closed and
// its command has returned.
void TForm5::requestReload(const QStringList& files) {
    for (const QString& file : files)
        if (!m_pendingReload.contains(file))
            m_pendingReload << file;
    if (m_pendingReload.isEmpty() || QApplication::activeModalWidget())
        return;
    ReloadData(std::exchange(m_pendingReload, {}));
}

bool TForm5::event(QEvent* event) {
    if (event->type() == QEvent::WindowUnblocked && !m_pendingReload.isEmpty())
        QTimer::singleShot(0, this, [this] { requestReload({}); });
    return QWidget::event(event);
}

void TForm5::closeEvent(QCloseEvent* event) {
    m_memory.keep();
    QWidget::closeEvent(event);
}

void TForm5::openSettings() {
    if (editSettings(m_platform, this))
        m_planTab->Redraw();
}

void TForm5::ReloadData(const QStringList& files) {
    for (Notebook::List list : Notebook::listsFedBy(files, m_context.planFile))
        start(list);
    // What reading a few megabytes freed, the next undo takes again at once:
    // handed back, it would cost that undo the page faults of asking for it anew.
    qint64 bytes = 0;
    for (const QString& file : files)
        bytes += QFileInfo(m_platform.dataFolder() + file).size();
    if (bytes > kFilesReadAgainKeepingTheirMemory)
        store::giveBackFreedMemory();
}

void TForm5::startBrowsers() {
    m_infoBrowser->showFile(QUrl(siteAddress() + QStringLiteral("info.html")).toLocalFile());
    m_osusumeBrowser->showFile(QUrl(siteAddress() + QStringLiteral("osusume.html")).toLocalFile());
}

void TForm5::start(Notebook::List list) {
    switch (list) {
    case Notebook::List::Crops:
        return startCrops();
    case Notebook::List::PlanCaptions:
        return m_planTab->ReadPlanCaptions();
    case Notebook::List::CurrentPlan:
        return m_planTab->SpeedButtonClick();
    case Notebook::List::Seasons:
        return m_seasons->Load();
    case Notebook::List::Tasks:
        return startTasks();
    case Notebook::List::Purchases:
        return startPurchases();
    case Notebook::List::Harvests:
        return startHarvests();
    case Notebook::List::Diary:
        return startDiary();
    case Notebook::List::Favourites:
        return startFavourites();
    }
}

// The tab lets go of the rows before the list under them is read again.
void TForm5::startCrops() {
    m_cropTab->list()->clear();
    m_notebook.loadCrops(m_platform.dataFolder(), m_platform);
    m_cropTab->RefreshCropList();
}

void TForm5::startTasks() {
    m_scheduleTab->list()->clear();
    m_notebook.loadTasks(m_platform.dataFolder(), m_platform);
    m_scheduleTab->YoteiRadioButtonClick();
}

void TForm5::startPurchases() {
    m_purchaseTab->list()->clear();
    m_notebook.loadPurchases(m_platform.dataFolder(), m_platform);
    m_purchaseTab->RebuildYears();
    m_purchaseTab->YearChanged();
}

void TForm5::startHarvests() {
    m_harvestTab->harvestList()->clear();
    m_notebook.loadHarvests(m_platform.dataFolder(), m_platform);
    m_harvestTab->Reload();
}

void TForm5::startDiary() {
    m_harvestTab->diaryList()->clear();
    m_notebook.loadDiary(m_platform.dataFolder(), m_platform);
    m_harvestTab->Reload();
}

// Inside the command of 完了にする, so one undo takes back the task and its line.
void TForm5::noteTaskDone(const QString& taskName) {
    if (m_harvest.AddTaskLine(taskName, m_platform.today(), m_platform.dataFolder(), m_platform))
        m_harvestTab->Reload();
}

void TForm5::startFavourites() {
    m_notebook.loadFavourites(m_platform.dataFolder(), m_platform);
    m_favouritesTab->ShowPage();
}
