#include "history/data_files.h"

#include "crops/crop_records.h"
#include "favourites/favourite_records.h"
#include "plans/plan_records.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"
#include "seasons/season_files.h"
#include "store/xml_store.h"

#include <QFile>
#include <QFileInfo>

namespace history {

const QStringList& dataFileNames() {
    static const QStringList names = [] {
        QStringList all{kCropFileName};
        for (const PlanFileInfo& plan : PlanFiles())
            all << plan.fileName;
        all.sort();
        all << kYoteiFileName << kCostFileName << kOkiniFileName;
        all << seasons::seasonFileNames();
        return all;
    }();
    return names;
}

bool isDataFile(const QString& fileName) {
    return dataFileNames().contains(fileName);
}

store::NotebookFiles notebookFiles(const QString& dataFolder) {
    return {dataFolder, dataFileNames() + QStringList{kOkiniPageName}, {QStringLiteral("history")}};
}

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

qint64 dataBytes(const QString& folder) {
    qint64 bytes = 0;
    for (const QString& name : dataFileNames())
        bytes += QFileInfo(folder + name).size();
    return bytes;
}

} // namespace history
