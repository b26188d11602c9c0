#pragma once

#include "exports/csv_export.h"

#include <vector>

class TShukaku;
class TNikki;

// The harvest log and the diary as spreadsheet files, by the same rules as
// the purchases: dates as YYYY/MM/DD sort in any spreadsheet, amounts as plain
// decimals with a point, a diary text's lines joined by LF in its cell.
CsvExport HarvestsCsv(const std::vector<TShukaku*>& shown);
CsvExport DiaryCsv(const std::vector<TNikki*>& shown);
