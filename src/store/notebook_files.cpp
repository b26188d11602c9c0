#include "store/notebook_files.h"

#include <QFileInfo>
#include <algorithm>

const std::array<QString, 8>& planFileNames() {
    static const std::array<QString, 8> names = {
        QStringLiteral("sakutuke1.xml"), QStringLiteral("sakutuke2.xml"), QStringLiteral("sakutuke3.xml"),
        QStringLiteral("sakutuke4.xml"), QStringLiteral("sakutuke5.xml"), QStringLiteral("sakutuke6.xml"),
        QStringLiteral("sakutuke7.xml"), QStringLiteral("sakutuke8.xml"),
    };
    return names;
}

bool IsPlanFile(const QString& fileName) {
    const auto& names = planFileNames();
    return std::find(names.begin(), names.end(), fileName) != names.end();
}

namespace store {

const QStringList& dataFileNames() {
    static const QStringList names = [] {
        QStringList all{kCropFileName};
        for (const QString& plan : planFileNames())
            all << plan;
        all.sort();
        all << kYoteiFileName << kCostFileName << kOkiniFileName;
        return all;
    }();
    return names;
}

bool isDataFile(const QString& fileName) {
    return dataFileNames().contains(fileName);
}

NotebookFiles notebookFiles(const QString& dataFolder) {
    return {
        dataFolder, dataFileNames() + QStringList{kOkiniPageName}, {QString::fromLatin1(kHistoryFolderName)}};
}

qint64 dataBytes(const QString& folder) {
    qint64 bytes = 0;
    for (const QString& name : dataFileNames())
        bytes += QFileInfo(folder + name).size();
    return bytes;
}

} // namespace store
