#pragma once

#include "cards/card_window.h"

class TSakumotu;
class TYotei;
class TCost;

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
