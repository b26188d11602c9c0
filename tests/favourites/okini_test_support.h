#pragma once

#include "favourites/favourite_records.h"
#include "support/modal.h"
#include "support/page_reading.h"

namespace okinitest {

using testsupport::paragraphs;
using testsupport::whenModal;

inline TOkini* addOkini(TOkiniList& list, const QString& name, const QString& url, const QString& memo) {
    TOkini* okini = list.add();
    okini->name = name;
    okini->url = url;
    okini->memo = memo;
    return okini;
}

} // namespace okinitest
