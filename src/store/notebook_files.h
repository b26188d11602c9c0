#pragma once

#include "store/outside_write.h"

#include <QString>
#include <QStringList>
#include <array>

// What a notebook is made of in its data folder: the one list of its files and
// folders. A new kind of file is registered here, in one line, and every part
// that must know the notebook's files (the history, the guard of exports and
// images, the lists that reload) takes them from here.

// The crop catalogue (sakumotu: crop).
inline const QString kCropFileName = QStringLiteral("sakumotu.xml");
// The yearly schedule (yotei: plan, task).
inline const QString kYoteiFileName = QStringLiteral("yotei.xml");
// The purchase ledger.
inline const QString kCostFileName = QStringLiteral("cost.xml");
// The favourites, and the page made from them (never kept, always made anew).
inline const QString kOkiniFileName = QStringLiteral("OkiniList.xml");
inline const QString kOkiniPageName = QStringLiteral("OkiniList.html");
// The lock file inside the data folder. Hidden and empty, so the Windows copy,
// which reads only the files it knows by name, never notices it, and the
// history never counts it among the data files.
inline const QString kFolderLockName = QStringLiteral(".aobaroku.lock");
// The history of changes: a folder of its own inside the data folder.
inline constexpr char kHistoryFolderName[] = "history";

// The eight plan files (sakutuke: planting) in file order.
const std::array<QString, 8>& planFileNames();
bool IsPlanFile(const QString& fileName);

namespace store {

// The data files whose versions the history keeps: the crop catalogue, the
// eight plans, the schedule, the purchases and the favourites.
const QStringList& dataFileNames();
bool isDataFile(const QString& fileName);
// The notebook in that folder as no export or image may replace it: the data
// files, the page made from the favourites and the history folder.
NotebookFiles notebookFiles(const QString& dataFolder);
// Bytes of every data file in the folder.
qint64 dataBytes(const QString& folder);

} // namespace store
