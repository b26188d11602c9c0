#pragma once

#include "widgets/form_dialog.h"

#include <QList>

class Platform;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TSakumotu2;
class TYoteiList;

// 簡単予定追加: drafts the six usual preparation tasks of one planting-plan
// entry, each set back from the entry's start, and adds the ones ticked. On OK
// it sorts the schedule by week and saves it before it closes.
class TForm13 : public FormDialog {
    Q_OBJECT
public:
    TForm13(Platform& platform, const TSakumotu2& entry, TYoteiList& tasks, QWidget* parent = nullptr);

    static constexpr int kRowCount = 6;

    void OkButtonClick();

private:
    // One task row: its parts are usable only while its box is ticked.
    struct Row {
        QCheckBox* check;
        QLineEdit* name;
        QComboBox* month;
        QComboBox* week;
        QLineEdit* note;
        QList<QWidget*> parts;
    };

    QLayout* buildReference(const TSakumotu2& entry);
    QLayout* buildRows();
    QLayout* buildFooter();
    Row buildRow(int index);
    void fillRows(const TSakumotu2& entry);
    void setRowEnabled(const Row& row, bool on);
    bool checksPass();
    void addTicked();

    Platform& m_platform;
    TYoteiList& m_tasks;
    QList<Row> m_rows;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
