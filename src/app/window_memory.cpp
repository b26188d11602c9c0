#include "app/window_memory.h"

#include "app/main_window.h"
#include "crops/crop_tab.h"
#include "plans/plan_tab.h"
#include "purchases/purchase_tab.h"
#include "schedule/schedule_tab.h"
#include "settings/preferences.h"
#include "widgets/list_view3.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGuiApplication>
#include <QScreen>
#include <QTabWidget>

namespace {

QList<TListView3*> lists(TForm5& window) {
    return {window.cropTab()->list(), window.scheduleTab()->list(), window.purchaseTab()->list()};
}

// The kept place, on the screen it was on, made to fit that screen as it is
// now; none when that screen is gone.
QRect placeOnScreen(QRect kept, const QSize& minimum) {
    const QScreen* screen = QGuiApplication::screenAt(kept.center());
    if (!screen)
        return QRect();
    const QRect available = screen->availableGeometry();
    kept.setSize(kept.size().boundedTo(available.size()).expandedTo(minimum));
    kept.moveRight(std::min(kept.right(), available.right()));
    kept.moveBottom(std::min(kept.bottom(), available.bottom()));
    kept.moveLeft(std::max(kept.left(), available.left()));
    kept.moveTop(std::max(kept.top(), available.top()));
    return kept;
}

} // namespace

WindowMemory::WindowMemory(TForm5& window, settings::Preferences& preferences)
    : m_window(window), m_preferences(preferences) {}

void WindowMemory::restorePlace() {
    const settings::WindowState state = m_preferences.window();
    if (state.geometry.isValid()) {
        const QRect place = placeOnScreen(state.geometry, m_window.minimumSize());
        if (place.isValid())
            m_window.setGeometry(place);
    }
    if (state.maximized)
        m_window.setWindowState(m_window.windowState() | Qt::WindowMaximized);
}

void WindowMemory::restoreColumns() {
    for (TListView3* list : lists(m_window))
        list->setUserColumnWidths(m_preferences.list(list->objectName()).widths);
}

void WindowMemory::restoreTab() {
    const int tab = m_preferences.window().tab;
    m_window.tabWidget()->setCurrentIndex(tab >= 0 && tab < m_window.tabWidget()->count() ? tab : 0);
}

void WindowMemory::restoreCropSort() {
    TCropTab* crops = m_window.cropTab();
    const int column = m_preferences.list(crops->list()->objectName()).sortColumn;
    if (column > 0)
        crops->HeaderClick(column);
}

void WindowMemory::restorePlan() {
    if (QAbstractButton* button = m_window.planTab()->planButtons()->button(m_preferences.window().plan))
        button->setChecked(true);
}

void WindowMemory::keep() {
    settings::WindowState state;
    state.geometry = m_window.normalGeometry();
    state.maximized = m_window.isMaximized();
    state.tab = m_window.tabWidget()->currentIndex();
    state.plan = m_window.planTab()->planButtons()->checkedId();
    m_preferences.setWindow(state);
    // The widths the user chose, not those the longest texts of the moment
    // widened the columns to: those follow the rows at every refill.
    for (TListView3* list : lists(m_window)) {
        const bool crops = list == m_window.cropTab()->list();
        m_preferences.setList(list->objectName(),
                              {list->userColumnWidths(), crops ? m_window.cropTab()->sortColumn() : 0});
    }
    m_preferences.sync();
}
