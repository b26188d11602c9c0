#include "cards/record_cards.h"

#include "cards/card_sheets.h"

// The smallest crop card window is 412 by 446 with its frame and title bar.
TForm7::TForm7(const TSakumotu& crop, Platform& platform, QWidget* owner)
    : TCardWindow(platform, QStringLiteral("作物情報"), cards::cropSheet(crop),
                  QStringLiteral("sakumotu.jpg"), owner) {
    setObjectName(QStringLiteral("TForm7"));
    setMinimumSize(412 - 16, 446 - 38);
}

TForm12::TForm12(const TYotei& task, Platform& platform, QWidget* owner)
    : TCardWindow(platform, QStringLiteral("予定"), cards::taskSheet(task), QStringLiteral("yotei.jpg"),
                  owner) {
    setObjectName(QStringLiteral("TForm12"));
}

TForm17::TForm17(const TCost& cost, Platform& platform, QWidget* owner)
    : TCardWindow(platform, QStringLiteral("購入"), cards::purchaseSheet(cost), QStringLiteral("kounyu.jpg"),
                  owner) {
    setObjectName(QStringLiteral("TForm17"));
}
