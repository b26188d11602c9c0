#include "store/site.h"

#include "store/locations.h"

#include <QUrl>

QString siteAddress() {
    // The executable does not move while it runs.
    static const QString address =
        QUrl::fromLocalFile(store::siteFolder(store::Surroundings::ofThisProcess())).toString();
    return address;
}
