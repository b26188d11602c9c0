#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// The text rules every part of the notebook reads and writes the same way.
namespace store {

// How wide a whole number may be.
enum class Width { Bits32, Bits64 };
// Whether ASCII blanks (space, tab, line ends) may stand before and after the number.
enum class Blanks { Refused, Around };

// A decimal whole number: an optional + or -, then ASCII digits and nothing else
// (no full-width digits, no separators); nothing when the text is none or the
// number does not fit the width.
std::optional<qint64> WholeNumber(QStringView text, Width width, Blanks blanks);

// A month and a week of the month as the gardener reads them: 5月2週.
QString MonthWeekText(const QString& tuki, const QString& shuu);
// From one month and week to another: 5月2週～6月3週.
QString PeriodText(const QString& stTuki, const QString& stShuu, const QString& edTuki,
                   const QString& edShuu);

} // namespace store
