#pragma once

#include "widgets/form_dialog.h"

class Platform;
class QListWidget;
class QPushButton;
class TSakumotu;
class TSakumotuList;

// The crop picker: chooses the crop to place in a plan, the dummy crop (an
// empty row) included, and can add a crop to the catalogue on the way.
class TForm10 : public FormDialog {
    Q_OBJECT
public:
    TForm10(Platform& platform, TSakumotuList& catalogue, QWidget* parent = nullptr);

    // After OK: the crop chosen.
    TSakumotu* crop() const { return m_crop; }
    // Whether a crop was added to the catalogue, whatever the picker ended with.
    bool catalogueChanged() const { return m_catalogueChanged; }
    QListWidget* list() const { return m_list; }

    void FormShow();
    void AddCropButtonClick();
    void OkButtonClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fillList();
    int selectedRow() const;

    Platform& m_platform;
    TSakumotuList& m_catalogue;
    TSakumotu* m_crop = nullptr;
    bool m_catalogueChanged = false;
    bool m_shown = false;
    QListWidget* m_list;
};
