#pragma once

#include <QIcon>
#include <QString>

// A circular blue question mark, drawn so no image file is needed.
QIcon helpPicture();
// The help page: the product site's root with the query "?page_id=115".
QString helpPageAddress();
