#pragma once

#include "widgets/form_dialog.h"

class Platform;
class TGroup;
class TGroupList;
class TListView3;
class TSakumotu2;

// The entry picker: chooses one entry of a plan by its check mark, for the plan
// tab (dummies included) and for quoting tasks from the schedule (without).
class TForm6 : public FormDialog {
    Q_OBJECT
public:
    TForm6(Platform& platform, TGroupList& plan, bool includeDummies, QWidget* parent = nullptr);

    // After OK: the entry checked and its group.
    TSakumotu2* entry() const { return m_entry; }
    TGroup* group() const { return m_group; }
    TListView3* list() const { return m_list; }

    void FormShow();
    void OkButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Platform& m_platform;
    TGroupList& m_plan;
    const bool m_includeDummies;
    TSakumotu2* m_entry = nullptr;
    TGroup* m_group = nullptr;
    bool m_shown = false;
    TListView3* m_list;
};

// The 作物 column: e.g. 1行目 ナス（4月2週～8月5週）, or 2行目 ダミー.
QString EntryPickText(const TSakumotu2& entry);
