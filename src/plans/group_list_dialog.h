#pragma once

#include "widgets/form_dialog.h"

class Platform;
class TGroup;
class TGroupList;
class TListView3;
namespace history {
class History;
}

// The group list: adds, changes and deletes the groups of the current plan
// itself, saving the plan file after each change. It has no OK or cancel: the
// user closes it, and changed() tells the caller whether to redraw.
class TForm3 : public FormDialog {
    Q_OBJECT
public:
    TForm3(Platform& platform, TGroupList& plan, const QString& planName, const QString& planFile,
           QWidget* parent = nullptr);

    bool changed() const { return m_changed; }
    // A group was deleted and the plan saved without it.
    bool deleted() const { return m_deleted; }
    // Each group command is then a change of its own in the history.
    void setHistory(history::History* history) { m_history = history; }
    TListView3* list() const { return m_list; }

    void FormShow();
    void AddButtonClick();
    void ChangeButtonClick();
    void DeleteButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillList();
    TGroup* checkedGroup();
    // False when the plan could not be saved.
    bool saveChange();

    Platform& m_platform;
    TGroupList& m_plan;
    const QString m_planName;
    const QString m_planFile;
    history::History* m_history = nullptr;
    bool m_changed = false;
    bool m_deleted = false;
    bool m_shown = false;
    TListView3* m_list;
};
