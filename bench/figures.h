#pragma once

#include "figure.h"

#include "store/message_sink.h"

#include <QList>
#include <QString>

// The parts of the table. Each reads the data sets under root that writeDataSets made.
namespace bench {

QList<Figure> fileFigures(const QString& root, const QList<int>& taskCounts, int runs);
QList<Figure> commandFigures(const QString& root, int runs);
QList<Figure> chartFigures(const QString& root, const QString& scratch, int runs);
QList<Figure> startupFigures(const QString& root, int runs);
// The program as a process of its own, from its start until idle, and its memory
// then, on an empty notebook; against a plain window showing one page.
QList<Figure> processStartFigures(const QString& program, int runs);
// The same on the large notebook: what it adds to the start and the memory
// over an empty notebook, against its files parsed as the program reads them
// (in a process of their own, checked against libxml2 alone) and their size.
QList<Figure> largeStartFigures(const QString& program, const QString& root, int runs);
// The same on the notebook in random date order the Windows copy writes.
QList<Figure> shuffledStartFigures(const QString& program, const QString& root, int runs);
// The purchase tab on the large notebook and the crop list with kLargeCrops
// crops, shown in windows: filter switches and sorts, each painted.
QList<Figure> listFigures(const QString& root, int runs);

// The window 検索 on the large notebook: a word typed, the results painted.
QList<Figure> searchFigures(const QString& root, int runs);

// 10,000 harvests and 5,000 diary entries: loaded, filtered in the tab, recalled by day.
QList<Figure> harvestFigures(const QString& root, int runs);

// The floor of every load: libxml2 parsing the file with the program's options, then freeing it,
// inside the bench.
void parseOnly(const QByteArray& path);
// 連作障害: the check of the entry dialog and the 連作表 on ten years of eight plans.
QList<Figure> seasonFigures(const QString& root, int runs);

// Needs the 100,000-task data set.
QList<Figure> historyFigures(const QString& root, int runs);

// The check before each save against changes made outside, on the large
// notebook, and the time from an outside change of the schedule to its tab.
QList<Figure> syncFigures(const QString& root, int runs);

// A data set that did not load in full makes every figure on it worthless.
void expectLoaded(bool loaded, const store::RecordingSink& sink, int count, int expected,
                  const QString& what);

} // namespace bench
