#pragma once

#include <QString>
#include <QStringList>

// The files the seasons keep beside the notebook's own. The Windows copy
// never reads them, so nothing of a year or a past season goes into the plan
// and schedule files it rewrites whole. nendo = the gardening year; kako = past.
namespace seasons {

// The year each of the eight plans is for.
inline const QString kYearFileName = QStringLiteral("nendo.xml");
// Copies of plans kept as past seasons, read-only.
inline const QString kPastPlanFileName = QStringLiteral("kako_sakutuke.xml");
// The schedule as it stood before each yearly clear of its marks.
inline const QString kPastScheduleFileName = QStringLiteral("kako_yotei.xml");

inline QStringList seasonFileNames() {
    return {kYearFileName, kPastPlanFileName, kPastScheduleFileName};
}
inline bool isSeasonFile(const QString& fileName) {
    return seasonFileNames().contains(fileName);
}

} // namespace seasons
