#include "store/site.h"

#include <QCoreApplication>
#include <QUrl>

QString siteAddress() {
    return QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QStringLiteral("/site/")).toString();
}
