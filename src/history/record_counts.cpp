#include "history/record_counts.h"

#include "store/notebook_files.h"
#include "store/xml_store.h"

#include <QFile>

namespace history {

int recordsOf(const QString& fileName, const store::ElementCounts& counts) {
    return IsPlanFile(fileName) ? counts.depth3 : counts.depth1;
}

// Only a plan needs the deep walk; a ledger's lines and names are not counted.
int recordsOf(const QString& fileName, const store::XmlDocument& doc) {
    return doc.elementsBelowRoot(IsPlanFile(fileName) ? 3 : 1);
}

// Parsed from memory: loading through the store would take an unreadable
// version for one the program failed to read.
int countRecords(const QString& path, const QString& fileName) {
    QFile file(path);
    if (!file.exists())
        return 0;
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const store::XmlDocument doc = store::XmlDocument::parse(file.readAll());
    return doc.unparsable() ? -1 : recordsOf(fileName, doc);
}

} // namespace history
