#pragma once

struct AppContext;
class Platform;
class QWidget;
class TSakumotu;
class TYotei;
class TCost;

// The 表示 commands of the crop, schedule and purchase tabs: the record as a
// card, modal over the owner, discarded when it closes. The record is only read.
void showCropCard(const TSakumotu& crop, Platform& platform, QWidget* owner);
void showTaskCard(const TYotei& task, Platform& platform, QWidget* owner);
void showPurchaseCard(const TCost& cost, Platform& platform, QWidget* owner);

// Lends the three openers to the tabs through the context, over its platform.
void lendCardOpeners(AppContext& context);
