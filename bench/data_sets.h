#pragma once

#include <QList>
#include <QString>

class TGroupList;
class TCostList;
class TOkiniList;
class TSakumotuList;
class TYoteiList;

// The data the benchmark reads and writes, made up here with a fixed seed so
// that every run and every machine works on the same texts. They use the
// characters code page 932 handles specially (～, ①) the way gardeners write.
namespace bench {

void fillTasks(TYoteiList& tasks, int count);
void fillCrops(TSakumotuList& crops, int count);
void fillPurchases(TCostList& purchases, int count, int linesEach);
void fillPlan(TGroupList& plan, int groups, int entriesEach);
void fillFavourites(TOkiniList& favourites, int count);

// The sizes the table names.
inline constexpr int kCropCount = 1000;
inline constexpr int kPurchaseCount = 10000;
inline constexpr int kPurchaseLines = 3;
inline constexpr int kPlanGroups = 40;
inline constexpr int kPlanEntries = 25;
inline constexpr int kFavouriteCount = 100;
inline constexpr int kCommandTasks = 10000;
// Years of use: the notebook of the large start-up and the commands on it.
inline constexpr int kLargePurchases = 100000;
inline constexpr int kLargeTasks = 20000;
inline constexpr int kLargeCrops = 10000;

// Folders under root, each ending with '/', written by the program's own savers.
QString taskFolder(const QString& root, int count);
QString cropFolder(const QString& root);
QString purchaseFolder(const QString& root);
QString planFolder(const QString& root);
// Every file kind at once, for the start-up figure.
QString fullFolder(const QString& root);
// kLargePurchases purchases and kLargeTasks tasks, and nothing else.
QString largeFolder(const QString& root);
// kLargePurchases purchases as the Windows copy writes them (unsorted, 0 to
// kPurchaseLines lines each) and the large notebook's kLargeTasks tasks.
QString shuffledFolder(const QString& root);
// The large notebook with kCropCount crops, a plan of kPlanGroups x kPlanEntries
// in each of the eight plan files and kFavouriteCount favourites.
QString searchFolder(const QString& root);

// Writes the large notebook into folder, as the program saves it: the files
// the Windows copy writes, in code page 932.
void writeLargeNotebook(const QString& folder);

// Writes the notebook of shuffledFolder into folder.
void writeShuffledNotebook(const QString& folder);

// Writes every data set; throws std::runtime_error when a saver fails.
void writeDataSets(const QString& root, const QList<int>& taskCounts);

} // namespace bench
