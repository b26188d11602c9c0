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
#include <QTemporaryDir>
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
    qInfo("measuring %s from its start until idle on the large notebook", qPrintable(program));
    const QString large = largeFolder(root);
    const QStringList files{large + kCostFileName, large + kYoteiFileName};
    double dataMb = 0;
    for (const QString& file : files)
        dataMb += double(QFileInfo(file).size()) / (1024 * 1024);
    const auto parseFiles = [&files] {
        for (const QString& file : files)
            parseOnly(QFile::encodeName(file));
    };
    startOnEmptyNotebook(program);
    measureProgramStart(program, large);
    QList<double> emptyMs, largeMs, extraMs, extraMb, parseMs;
    for (int round = 0; round < runs; ++round) {
        const ProcessStart empty = startOnEmptyNotebook(program);
        const ProcessStart full = measureProgramStart(program, large);
        parseMs << elapsedMs(parseFiles);
        emptyMs << empty.msToIdle;
        largeMs << full.msToIdle;
        extraMs << full.msToIdle - empty.msToIdle;
        extraMb << full.rssMb - empty.rssMb;
    }
    const QString notebook = QStringLiteral("%L1 purchases, %L2 tasks").arg(kLargePurchases).arg(kLargeTasks);
    Figure whole{QStringLiteral("start-up, whole process: start to idle, %1").arg(notebook),
                 median(largeMs),
                 QStringLiteral("same, empty notebook"),
                 median(emptyMs),
                 0,
                 0,
                 runs};
    Figure time{QStringLiteral("start-up, whole process: what %1 add to start to idle").arg(notebook),
                median(extraMs),
                QStringLiteral("xmlReadFile of cost.xml and yotei.xml"),
                median(parseMs),
                1.5,
                0,
                runs};
    Figure memory{QStringLiteral("memory at idle (RSS): what %1 add").arg(notebook),
                  median(extraMb),
                  QStringLiteral("size of cost.xml and yotei.xml"),
                  dataMb,
                  5,
                  0,
                  runs,
                  QStringLiteral("MB")};
    return {whole, time, memory};
}

} // namespace bench
