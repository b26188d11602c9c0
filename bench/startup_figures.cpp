#include "bench_platform.h"
#include "data_sets.h"
#include "figures.h"
#include "process_start.h"
#include "timing.h"

#include "app/main_window.h"
#include "purchases/purchase_records.h"
#include "schedule/task_records.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <libxml/encoding.h>
#include <memory>
#include <stdexcept>

namespace bench {

namespace {

// Takes the window down and lets Qt finish what its destruction posted.
void dropWindow(std::unique_ptr<QWidget>& window) {
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// show() returns once the first-showing sequence of the window has run.
void showNew(std::unique_ptr<QWidget>& window, const std::function<QWidget*()>& make) {
    window.reset(make());
    window->show();
}

void expectQuiet(const BenchPlatform& platform) {
    if (!platform.shown.isEmpty())
        throw std::runtime_error("the main window said: " +
                                 platform.shown.join(QLatin1Char(' ')).toStdString());
}

QString startupName(const QString& when) {
    return QStringLiteral("start-up%1: TForm5 shown, all data (%L2 tasks, %L3 purchases, %L4 crops, plan)")
        .arg(when)
        .arg(kCommandTasks)
        .arg(kPurchaseCount)
        .arg(kCropCount);
}

// An empty notebook of its own for every start, as on a first start.
ProcessStart startOnEmptyNotebook(const QString& program) {
    QTemporaryDir empty;
    if (!empty.isValid())
        throw std::runtime_error("cannot make a temporary folder");
    return measureProgramStart(program, empty.path());
}

// Runs a floor program on files in a process of its own; it prints the
// milliseconds its parsing took, measured inside it.
double floorProcessMs(const QString& floorProgram, const QStringList& files) {
    QProcess process;
    process.start(floorProgram, files);
    if (!process.waitForFinished(120'000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        throw std::runtime_error(
            QStringLiteral("%1 failed: %2")
                .arg(floorProgram, QString::fromLocal8Bit(process.readAllStandardError()))
                .toStdString());
    bool number = false;
    const double ms = process.readAllStandardOutput().trimmed().toDouble(&number);
    if (!number)
        throw std::runtime_error("no time from " + floorProgram.toStdString());
    return ms;
}

// Every round of a start-up on a notebook, and the floors taken beside it.
struct NotebookRounds {
    QList<double> emptyMs, fullMs, extraMs, extraMb;
    QList<double> floorMs; // aobaroku-bench-parse: the files read as the program reads them
    QList<double> checkMs; // aobaroku-bench-parse-c: libxml2 alone on the same files
    QList<double> oldMs;   // the earlier floor: xmlReadFile inside the bench process
};

void oldFloor(const QStringList& files) {
    for (const QString& file : files)
        parseOnly(QFile::encodeName(file));
}

NotebookRounds measureRounds(const QString& program, const QString& folder, const QStringList& files,
                             int runs) {
    // One untimed start of each, so that every file and library is in the cache.
    startOnEmptyNotebook(program);
    measureProgramStart(program, folder);
    NotebookRounds r;
    for (int round = 0; round < runs; ++round) {
        const ProcessStart empty = startOnEmptyNotebook(program);
        const ProcessStart full = measureProgramStart(program, folder);
        r.oldMs << elapsedMs([&files] { oldFloor(files); });
        r.floorMs << floorProcessMs(QStringLiteral(AOBAROKU_PARSE_FLOOR), files);
        r.checkMs << floorProcessMs(QStringLiteral(AOBAROKU_INDEPENDENT_PARSE), files);
        r.emptyMs << empty.msToIdle;
        r.fullMs << full.msToIdle;
        r.extraMs << full.msToIdle - empty.msToIdle;
        r.extraMb << full.rssMb - empty.rssMb;
    }
    return r;
}

// A floor far from an independent parse of the same files measures something
// else than the program's reading; every ratio held against it would be wrong.
void checkFloor(const QString& notebook, double floorMs, double checkMs) {
    const double ratio = floorMs / checkMs;
    qInfo("floor check, %s: DOM parse as the program reads (own process) %.1f ms, libxml2 alone "
          "(aobaroku-bench-parse-c, own process) %.1f ms, ratio %.2f",
          qPrintable(notebook), floorMs, checkMs, ratio);
    if (ratio > 2 || ratio < 0.5)
        throw std::runtime_error(
            QStringLiteral("the parse floor (%1 ms) is more than twice as far from libxml2 "
                           "alone (%2 ms) on %3")
                .arg(floorMs)
                .arg(checkMs)
                .arg(notebook)
                .toStdString());
}

// Whether the bench process reads Shift-JIS as code page 932 at this moment,
// as the program does, or through glibc's plain SJIS.
const char* shiftJisReading() {
    const char* alias = xmlGetEncodingAlias("SHIFT-JIS");
    return alias ? alias : "no alias: glibc's SJIS";
}

QList<Figure> floorFigures(const QString& notebook, const NotebookRounds& r, const QString& floorName,
                           int runs) {
    const double floor = median(r.floorMs);
    checkFloor(notebook, floor, median(r.checkMs));
    qInfo("old floor, %s: xmlReadFile in the bench process %.1f ms (Shift-JIS read as %s), %.2fx the own "
          "process floor",
          qPrintable(notebook), median(r.oldMs), shiftJisReading(), median(r.oldMs) / floor);
    return {{QStringLiteral("floor check: libxml2 alone, own process, on the files of %1").arg(notebook),
             median(r.checkMs), floorName, floor, 0, 0, runs},
            {QStringLiteral("old floor: xmlReadFile in the bench process, on the files of %1").arg(notebook),
             median(r.oldMs), floorName, floor, 0, 0, runs}};
}

// What a notebook in folder adds to the start over an empty notebook, in time
// against parsing its files as the program does, and in memory against their size.
QList<Figure> notebookStartFigures(const QString& program, const QString& folder, const QString& notebook,
                                   int runs) {
    qInfo("measuring %s from its start until idle on %s", qPrintable(program), qPrintable(notebook));
    const QStringList files{folder + kCostFileName, folder + kYoteiFileName};
    double dataMb = 0;
    for (const QString& file : files)
        dataMb += double(QFileInfo(file).size()) / (1024 * 1024);
    const NotebookRounds r = measureRounds(program, folder, files, runs);
    const QString floorName =
        QStringLiteral("DOM parse of cost.xml and yotei.xml as the program reads (own process)");
    Figure whole{QStringLiteral("start-up, whole process: start to idle, %1").arg(notebook),
                 median(r.fullMs),
                 QStringLiteral("same, empty notebook"),
                 median(r.emptyMs),
                 0,
                 0,
                 runs};
    Figure time{QStringLiteral("start-up, whole process: what %1 add to start to idle").arg(notebook),
                median(r.extraMs),
                floorName,
                median(r.floorMs),
                1.5,
                0,
                runs};
    Figure memory{QStringLiteral("memory at idle (RSS): what %1 add").arg(notebook),
                  median(r.extraMb),
                  QStringLiteral("size of cost.xml and yotei.xml"),
                  dataMb,
                  5,
                  0,
                  runs,
                  QStringLiteral("MB")};
    return QList<Figure>{whole, time, memory} + floorFigures(notebook, r, floorName, runs);
}

} // namespace

QList<Figure> startupFigures(const QString& root, int runs) {
    qInfo("measuring the start-up");
    BenchPlatform platform(fullFolder(root));
    std::unique_ptr<QWidget> empty;
    std::unique_ptr<QWidget> main;
    const auto makeEmpty = [] { return new QMainWindow; };
    const auto makeMain = [&platform] { return new TForm5(platform); };
    // The first window of the process also starts the style and the fonts.
    const double firstEmpty = elapsedMs([&] { showNew(empty, makeEmpty); });
    const double firstMain = elapsedMs([&] { showNew(main, makeMain); });
    dropWindow(empty);
    dropWindow(main);
    const QList<double> ms =
        medianMs(runs, {{[&] { showNew(main, makeMain); }, [&] { dropWindow(main); }},
                        {[&] { showNew(empty, makeEmpty); }, [&] { dropWindow(empty); }}});
    dropWindow(main);
    dropWindow(empty);
    expectQuiet(platform);
    const QString floor = QStringLiteral("empty QMainWindow shown");
    return {{startupName(QStringLiteral(", first in process")), firstMain, floor, firstEmpty, 0, 0, 1},
            {startupName(QString()), ms[0], floor, ms[1], 0, 0, runs}};
}

QList<Figure> processStartFigures(const QString& program, int runs) {
    qInfo("measuring %s from its start until idle", qPrintable(program));
    const QString floorWindow = QStringLiteral(AOBAROKU_FLOOR_WINDOW);
    const QStringList page{QFileInfo(program).absolutePath() + QStringLiteral("/site/info.html")};
    // One untimed start of each, so that both find their libraries and files in the cache.
    startOnEmptyNotebook(program);
    measureProcessStart(floorWindow, page);
    QList<double> mainMs, mainMb, floorMs, floorMb;
    for (int round = 0; round < runs; ++round) {
        const ProcessStart main = startOnEmptyNotebook(program);
        const ProcessStart floor = measureProcessStart(floorWindow, page);
        mainMs << main.msToIdle;
        mainMb << main.rssMb;
        floorMs << floor.msToIdle;
        floorMb << floor.rssMb;
    }
    const QString floorName = QStringLiteral("QTextBrowser window, one local page");
    Figure time{QStringLiteral("start-up, whole process: start to idle (CPU flat 400 ms), empty notebook"),
                median(mainMs),
                floorName,
                median(floorMs),
                2,
                0,
                runs};
    Figure memory{QStringLiteral("memory at idle, whole process and its children (RSS), empty notebook"),
                  median(mainMb),
                  floorName,
                  median(floorMb),
                  2,
                  0,
                  runs,
                  QStringLiteral("MB")};
    return {time, memory};
}

QList<Figure> largeStartFigures(const QString& program, const QString& root, int runs) {
    const QString notebook = QStringLiteral("%L1 purchases, %L2 tasks").arg(kLargePurchases).arg(kLargeTasks);
    return notebookStartFigures(program, largeFolder(root), notebook, runs);
}

QList<Figure> shuffledStartFigures(const QString& program, const QString& root, int runs) {
    const QString notebook = QStringLiteral("%L1 purchases in random date order with 0-%2 lines, %L3 tasks")
                                 .arg(kLargePurchases)
                                 .arg(kPurchaseLines)
                                 .arg(kLargeTasks);
    return notebookStartFigures(program, shuffledFolder(root), notebook, runs);
}

} // namespace bench
