#pragma once

#include "widgets/form_dialog.h"

class Platform;
class QPushButton;
class TListView3;
class TOkini;
class TOkiniList;

// お気に入り一覧: the gardener checks one favourite for the tab to change or delete.
class TForm19 : public FormDialog {
    Q_OBJECT
public:
    TForm19(Platform& platform, const TOkiniList& list, QWidget* parent = nullptr);

    TListView3* list() const { return m_view; }
    // After OK: the checked favourite.
    TOkini* okini() const { return m_okini; }

    void OkButtonClick();

private:
    void buildLayout();
    void FormShow();

    Platform& m_platform;
    const TOkiniList& m_list;
    TOkini* m_okini = nullptr;

    TListView3* m_view;
    QPushButton* m_ok;
    QPushButton* m_cancel;
};
