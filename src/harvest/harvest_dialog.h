#pragma once

#include "harvest/harvest_choices.h"
#include "widgets/form_dialog.h"

class Platform;
class QComboBox;
class QDateEdit;
class QLineEdit;
class Sujiin;
class THarvestBook;
class TShukaku;

// 収穫: one harvest. Only OK writes the record into the log, sorts it by
// date and saves shukaku.xml, so キャンセル leaves both as they were.
class TFormShukaku : public FormDialog {
    Q_OBJECT
public:
    // record is the harvest to change, or null for a new one dated date.
    TFormShukaku(Platform& platform, THarvestBook& book, TShukaku* record, const QDate& date,
                 const HarvestChoices& choices, QWidget* parent = nullptr);

    // After OK: the changed harvest, or the one the dialog added.
    TShukaku* record() const { return m_record; }

    void OkButtonClick();

private:
    Platform& m_platform;
    THarvestBook& m_book;
    TShukaku* m_record;
    QDateEdit* m_date;
    QComboBox* m_crop;
    QComboBox* m_bed;
    Sujiin* m_amount;
    QComboBox* m_unit;
    QLineEdit* m_note;
};
