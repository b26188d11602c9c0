#include "bench_platform.h"
#include "data_sets.h"
#include "figures.h"
#include "timing.h"

#include "app/main_window.h"

#include <QApplication>
#include <QMainWindow>
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

} // namespace

QList<Figure> startupFigures(const QString& root, int runs) {
    qInfo("measuring the start-up");
    BenchPlatform platform(fullFolder(root));
    std::unique_ptr<QWidget> empty;
    std::unique_ptr<QWidget> main;
    const auto makeEmpty = [] { return new QMainWindow; };
    const auto makeMain = [&platform] { return new TForm5(platform); };
    // The first window of the process also starts the style, the fonts and the web engine.
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

} // namespace bench
