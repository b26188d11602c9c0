#pragma once

#include "purchases/purchase_records.h"
#include "widgets/form_dialog.h"

class Platform;
class QComboBox;
class QLabel;
class QPushButton;
class Sujiin;
class TListView3;

// The purchase dialog (購入): the date of a purchase and its lines. Lines are
// edited on a working copy; only OK writes the purchase into the purchase list,
// sorts the list by date and saves cost.xml, so キャンセル leaves both as they were.
class TForm15 : public FormDialog {
    Q_OBJECT
public:
    // cost is the purchase to change, or null for a new one. An empty initial
    // year, month or day stands for that part of today's date.
    TForm15(Platform& platform, TCostList& costs, TCost* cost, const QString& year, const QString& month,
            const QString& day, QWidget* parent = nullptr);
    ~TForm15() override;

    // After OK: the changed purchase, or the one the dialog added.
    TCost* cost() const { return m_cost; }

    void FormShow();
    void YearEditChange();
    void MonthChange();
    void DayChange();
    void LineAddClick();
    void LineChangeClick();
    void LineDeleteClick();
    void OkButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildLayout();
    QLayout* buildDateRow();
    QLayout* buildLineRow();
    QLayout* buildButtonRow();
    QComboBox* choice(const char* objectName);
    QPushButton* button(const QString& caption, const char* objectName);
    void setTabOrder();
    void fillDays();
    void RefreshLines();
    void SetTotal();
    TSina* checkedLine();
    bool failsWith(bool failed, const QString& text, QWidget* focus);
    void writeCost();

    Platform& m_platform;
    TCostList& m_costs;
    TCost* m_cost;
    const QString m_initialYear;
    const QString m_initialMonth;
    const QString m_initialDay;
    TSinaList m_lines;   // the working copy
    QString m_chosenDay; // the gardener's choice, also while the year hides it
    bool m_shown = false;

    Sujiin* m_nen;
    QComboBox* m_tuki;
    QComboBox* m_hi;
    TListView3* m_lineList;
    QPushButton* m_lineAdd;
    QPushButton* m_lineChange;
    QPushButton* m_lineDelete;
    QLabel* m_total;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
