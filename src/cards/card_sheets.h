#pragma once

#include "cards/card_sheet.h"

class TSakumotu;
class TYotei;
class TCost;

// The row tables of the three cards, read from their records.
namespace cards {

CardSheet cropSheet(const TSakumotu& crop);
CardSheet taskSheet(const TYotei& task);
CardSheet purchaseSheet(const TCost& cost);

inline const QSize kCropCardSize(497, 586);
inline const QSize kTaskCardSize(472, 490);
inline const QSize kPurchaseCardSize(497, 586);

// The crop card shows this many periods, one per line, and no more.
inline constexpr int kShownPeriods = 5;

} // namespace cards
