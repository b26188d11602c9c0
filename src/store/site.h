#pragma once

#include <QString>

// The product web site ships with the program (see store::siteFolder), so the
// web tabs, the help page and the favourites style sheet work without a
// network. Returned as a file URL ending with '/'.
QString siteAddress();
