#pragma once

#include <QImage>
#include <QString>
#include <functional>

class Platform;
class QWidget;
class TSakumotu;
class TYotei;
class TCost;
class TSakumotuList;
class TGroupList;
class TYoteiList;
class TCostList;
class TOkiniList;
namespace history {
class History;
}

// What the main window owns and lends to its tabs and their dialogs for the whole run.
struct AppContext {
    Platform* platform = nullptr;
    TGroupList* plan = nullptr; // the current plan
    TSakumotuList* crops = nullptr;
    QImage* chart = nullptr; // the off-screen chart picture
    TYoteiList* tasks = nullptr;
    TCostList* costs = nullptr;
    TOkiniList* okini = nullptr;
    // The history of changes; null when it is off. Commands name their change through it.
    history::History* history = nullptr;

    // The current plan's name and file, kept by the plan tab.
    QString planName;
    QString planFile;

    // Links between tabs, set by the main window once every tab exists.
    std::function<void()> redrawChart;
    std::function<void()> reloadPlan;
    std::function<void()> refreshCropList;
    // Carries a crop's new name into every plan of the notebook.
    std::function<bool(const QString& oldName, const QString& newName)> renameCropInPlans;
    // The 表示 commands' cards, modal over the owner; the record is only read.
    std::function<void(const TSakumotu&, QWidget* owner)> showCropCard;
    std::function<void(const TYotei&, QWidget* owner)> showTaskCard;
    std::function<void(const TCost&, QWidget* owner)> showPurchaseCard;

    // Set by the main window when it keeps the history: after a delete or a
    // clear that was saved, it tells the gardener that Ctrl+Z takes it back.
    std::function<void(const QString& note)> undoableNote;
    void tellUndoable(const QString& note) const {
        if (undoableNote)
            undoableNote(note);
    }
};

// After a delete and after the yearly clear alike: the same words for everything Ctrl+Z takes back.
inline const QString kDeletedNote = QStringLiteral("削除しました（Ctrl+Z で元に戻せます）");
