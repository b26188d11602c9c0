#pragma once

#include "harvest/harvest_choices.h"
#include "widgets/form_dialog.h"

class Platform;
class QComboBox;
class QDateEdit;
class QListWidget;
class LinesEdit;
class THarvestBook;
class TNikki;

// 日誌: one diary entry with its photos. Photos chosen here are copied into the
// notebook only on OK; one that cannot be read is reported and left out, and
// the entry is saved without it.
class TFormNikki : public FormDialog {
    Q_OBJECT
public:
    TFormNikki(Platform& platform, THarvestBook& book, TNikki* record, const QDate& date,
               const HarvestChoices& choices, QWidget* parent = nullptr);

    TNikki* record() const { return m_record; }
    QListWidget* photoList() const { return m_photos; }

    void AddPhotoClick();
    void RemovePhotoClick();
    void OkButtonClick();

private:
    QLayout* buildPhotoRow();
    // Stored names stay; chosen files are copied now. The names to keep.
    QStringList importChosen(const QDate& date);

    Platform& m_platform;
    THarvestBook& m_book;
    TNikki* m_record;
    QDateEdit* m_date;
    QComboBox* m_crop;
    QComboBox* m_bed;
    LinesEdit* m_text;
    QListWidget* m_photos;
};
