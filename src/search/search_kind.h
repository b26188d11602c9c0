#pragma once

#include "search/record_search.h"

#include <QString>
#include <functional>
#include <vector>

namespace search {

// One kind of record the search window looks through. A later kind of
// record joins the search by adding one row to the table the main window
// hands the window.
struct SearchKind {
    // The results are grouped under it: the caption of the record's tab.
    QString caption;
    std::function<Found(const Query& query)> find;
    // Goes to the record: its tab, its plan, its row ticked.
    std::function<void(const Hit& hit)> open;
};

using SearchKinds = std::vector<SearchKind>;

} // namespace search
