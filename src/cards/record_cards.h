#pragma once

#include "cards/card_window.h"

class TSakumotu;
class TYotei;
class TCost;
class TNikki;

// 作物情報: one crop. Resizable down to a smallest window.
class TForm7 : public TCardWindow {
    Q_OBJECT
public:
    TForm7(const TSakumotu& crop, Platform& platform, QWidget* owner = nullptr);
};

// 予定: one task; its state is not shown.
class TForm12 : public TCardWindow {
    Q_OBJECT
public:
    TForm12(const TYotei& task, Platform& platform, QWidget* owner = nullptr);
};

// 購入: one purchase with its lines and their total.
class TForm17 : public TCardWindow {
    Q_OBJECT
public:
    TForm17(const TCost& cost, Platform& platform, QWidget* owner = nullptr);
};

// 日誌: one diary entry with its first photo, scaled into the card's photo box.
// A photo that cannot be read leaves the box with a note, never the card unshown.
class TFormNikkiCard : public TCardWindow {
    Q_OBJECT
public:
    TFormNikkiCard(const TNikki& entry, Platform& platform, QWidget* owner = nullptr);

    const QImage& photo() const { return m_photo; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_photo;
    bool m_photoMissing = false;
};
