#include "cards/show_card.h"

#include "cards/record_cards.h"
#include "widgets/app_context.h"

void showCropCard(const TSakumotu& crop, Platform& platform, QWidget* owner) {
    TForm7 card(crop, platform, owner);
    card.exec();
}

void showTaskCard(const TYotei& task, Platform& platform, QWidget* owner) {
    TForm12 card(task, platform, owner);
    card.exec();
}

void showPurchaseCard(const TCost& cost, Platform& platform, QWidget* owner) {
    TForm17 card(cost, platform, owner);
    card.exec();
}

void lendCardOpeners(AppContext& context) {
    Platform& platform = *context.platform;
    context.showCropCard = [&platform](const TSakumotu& crop, QWidget* owner) {
        showCropCard(crop, platform, owner);
    };
    context.showTaskCard = [&platform](const TYotei& task, QWidget* owner) {
        showTaskCard(task, platform, owner);
    };
    context.showPurchaseCard = [&platform](const TCost& cost, QWidget* owner) {
        showPurchaseCard(cost, platform, owner);
    };
}
