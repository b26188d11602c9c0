#pragma once

class TForm5;
namespace settings {
class Preferences;
}

// What the main window keeps of itself between starts, in the user's
// preferences: its place and size, each list's column widths, the crop list's
// sort, and the tab and plan it showed last. With nothing kept it opens as at
// a first start: centred, on the first tab, with the first plan. What the file
// says is checked against the window as it is now: a tab, plan or column that
// does not exist, or a place off every screen, is not taken.
class WindowMemory {
public:
    WindowMemory(TForm5& window, settings::Preferences& preferences);

    // Before the window is shown.
    void restorePlace();
    void restoreColumns();
    // At their steps of the first showing: the tab instead of the first one,
    // the sort once the crops are listed, the plan before it is loaded.
    void restoreTab();
    void restoreCropSort();
    void restorePlan();
    // When the window closes.
    void keep();

private:
    TForm5& m_window;
    settings::Preferences& m_preferences;
};
