#pragma once

#include "plans/plan_records.h"
#include "widgets/form_dialog.h"

#include <array>

class Platform;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class TSakumotu;

// The entry dialog: places a crop in a plan (add mode) or changes a plan entry
// (change mode): its group, period, row and offset. It changes the plan in
// memory on OK; the caller saves and redraws. A group added on the way is
// saved at once and stays, whatever the dialog ends with.
class TForm9 : public FormDialog {
    Q_OBJECT
public:
    struct Inputs {
        TGroupList* plan = nullptr;
        QString planName;
        QString planFile;
        // The crop of the entry; null when the catalogue no longer has it (change mode only).
        const TSakumotu* crop = nullptr;
        // Change mode: the entry and its group. Both null in add mode.
        TSakumotu2* entry = nullptr;
        TGroup* group = nullptr;
    };

    TForm9(Platform& platform, const Inputs& inputs, QWidget* parent = nullptr);

    // After OK in add mode: the new entry.
    TSakumotu2* entry() const { return m_entry; }

    void FormShow();
    void GroupChange();
    void GroupAddButtonClick();
    void OkButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    QComboBox* choiceList(const char* objectName, int first, int last);
    QString cropName() const;
    bool isDummy() const;
    void fillGroups();
    TGroup* selectedGroup() const;
    void showEntry();
    bool checksPass();
    int chosenRow() const;
    void placeEntry(TGroup* target);

    Platform& m_platform;
    Inputs m_in;
    TSakumotu2* m_entry;
    TIchiList m_rows;
    bool m_shown = false;

    QComboBox* m_groups;
    QPushButton* m_groupAdd;
    std::array<QComboBox*, 4> m_period{}; // start month, start week, end month, end week
    QListWidget* m_reference;
    QComboBox* m_rowList;
    QCheckBox* m_insert;
    QLineEdit* m_down;
    QPushButton* m_ok;
};
