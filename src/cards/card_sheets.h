#pragma once

#include "cards/card_sheet.h"

class TSakumotu;
class TYotei;
class TCost;
class TNikki;

// The row tables of the three cards, read from their records.
namespace cards {

CardSheet cropSheet(const TSakumotu& crop);
CardSheet taskSheet(const TYotei& task);
CardSheet purchaseSheet(const TCost& cost);
// The diary card leaves kDiaryPhotoPlace free for the entry's first photo.
CardSheet diarySheet(const TNikki& entry);

inline const QSize kCropCardSize(497, 586);
inline const QSize kTaskCardSize(472, 490);
inline const QSize kPurchaseCardSize(497, 586);
inline const QSize kDiaryCardSize(497, 586);
inline const Place kDiaryPhotoPlace{nearEdge(kValueX), nearEdge(236), farEdge(20), farEdge(48)};

// The crop card shows this many periods, one per line, and no more.
inline constexpr int kShownPeriods = 5;

} // namespace cards
