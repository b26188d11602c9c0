#include "bench_platform.h"
#include "data_sets.h"
#include "figures.h"
#include "timing.h"

#include "app/main_window.h"
#include "history/command_scope.h"
#include "history/history.h"
#include "purchases/purchase_records.h"
#include "schedule/schedule_tab.h"
#include "schedule/task_records.h"
#include "store/checksum.h"
#include "store/save_file.h"
#include "sync/notebook_sync.h"
#include "widgets/app_context.h"
#include "widgets/list_view3.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTabWidget>
#include <QThread>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace bench {

namespace {

constexpr int kChangedTasks = 10000;
constexpr int kAllFilter = 4; // すべて, the filter under which every task has its row
// The longest an outside change may take to show before the figure is given up.
constexpr qint64 kGiveUpMs = 20000;

QString copyOf(const QString& root, const QString& name, const QString& source, const QStringList& files) {
    const QString folder = root + QLatin1Char('/') + name + QLatin1Char('/');
    if (!QDir().mkpath(folder))
        throw std::runtime_error("cannot make " + folder.toStdString());
    for (const QString& file : files)
        if (!QFile::copy(source + file, folder + file))
            throw std::runtime_error("cannot copy " + file.toStdString() + " into " + folder.toStdString());
    return folder;
}

std::unique_ptr<TCostList> loadPurchases(const QString& folder) {
    auto costs = std::make_unique<TCostList>();
    store::RecordingSink sink;
    const bool loaded = costs->LoadFromFile(folder, sink);
    expectLoaded(loaded, sink, costs->count(), kLargePurchases, folder + kCostFileName);
    return costs;
}

// What a save does before and after the history in the program: one purchase's
// day changed, the whole list written, inside a command of the history.
void changeAndSave(TCostList& costs, history::History* h, const QString& folder) {
    TCost& cost = *costs.at(kLargePurchases / 2);
    cost.hi = cost.hi == QStringLiteral("1") ? QStringLiteral("2") : QStringLiteral("1");
    const history::CommandScope change(h, QStringLiteral("購入「変更」"));
    store::RecordingSink sink;
    if (!costs.SaveToFile(folder, sink))
        throw std::runtime_error("cannot save " + folder.toStdString() + ": " +
                                 sink.messages.join(' ').toStdString());
}

// Nothing but own saves happen here: a reload would mean one was taken for an outside change.
syncing::NotebookSync::Hooks benchHooks(bool& reloaded) {
    syncing::NotebookSync::Hooks hooks;
    hooks.reload = [&reloaded](const QStringList&) { reloaded = true; };
    hooks.listName = [](const QString&) { return QStringLiteral("購入"); };
    return hooks;
}

// What the guard adds to a save of cost.xml in folder, on its own: the file's
// identity compared with the one last seen before, and its identity noted
// after with the checksum of the bytes written, which the history makes for
// both of them. The checksum is made untimed.
std::function<void()> checkAlone(const QString& folder) {
    const QString path = history::realPath(folder + kCostFileName);
    auto known = std::make_shared<syncing::KnownFiles>();
    known->noteRead(kCostFileName, path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    const QString hash = store::contentHash(file.readAll());
    return [known, hash, path] {
        if (known->changedOnDisk(kCostFileName, history::realPath(path)))
            throw std::runtime_error("the check took an unchanged file for a changed one");
        known->noteWritten(kCostFileName, path, hash);
    };
}

// One copy of the large notebook's purchases with a history of its own; the
// work the history defers to after a command waits here until the next round.
struct SaveSide {
    explicit SaveSide(const QString& folder) : folder(folder), history(folder) {
        history.setDeferral([this](std::function<void()> work) { later << std::move(work); });
    }

    // Pruning and packing, and the watcher seeing the save, as after the
    // command in the program; then this side's recorder back in the seam.
    void between(const std::function<void()>& install) {
        for (const auto& work : std::exchange(later, {}))
            work();
        QCoreApplication::processEvents();
        install();
    }

    QString folder;
    history::History history;
    QList<std::function<void()>> later;
    std::unique_ptr<TCostList> costs;
};

// The same save into two copies of the large notebook, one behind the guard as
// the main window installs it, the other with its history only. Each round
// saves guarded, plain, plain, guarded, so that neither always follows the
// other's pruning or comes first.
QList<Figure> guardedSave(const QString& root, int runs) {
    const QString source = largeFolder(root);
    SaveSide guarded(copyOf(root, QStringLiteral("sync-guarded"), source, {kCostFileName}));
    store::installSaveRecorder(&guarded.history);
    bool reloaded = false;
    syncing::NotebookSync sync(guarded.folder, &guarded.history, benchHooks(reloaded));
    sync.recordChangesWhileClosed();
    sync.install();
    guarded.costs = loadPurchases(guarded.folder);
    if (!sync.guard().known().knows(kCostFileName))
        throw std::runtime_error("the guard did not learn cost.xml");

    SaveSide plain(copyOf(root, QStringLiteral("sync-history-only"), source, {kCostFileName}));
    store::installSaveRecorder(&plain.history);
    plain.costs = loadPurchases(plain.folder);

    const Measure guardedSave{[&] { changeAndSave(*guarded.costs, &guarded.history, guarded.folder); },
                              [&] { guarded.between([&] { sync.install(); }); }};
    const Measure plainSave{[&] { changeAndSave(*plain.costs, &plain.history, plain.folder); },
                            [&] { plain.between([&] { store::installSaveRecorder(&plain.history); }); }};
    QList<double> guardedMs;
    QList<double> plainMs;
    QList<double> checkMs;
    for (int round = 0; round < runs; ++round) {
        for (const bool guardedNow : {true, false, false, true}) {
            const Measure& measure = guardedNow ? guardedSave : plainSave;
            measure.prepare();
            (guardedNow ? guardedMs : plainMs) << elapsedMs(measure.work);
        }
        checkMs << elapsedMs(checkAlone(guarded.folder));
    }
    guarded.between([] {});
    plain.between([] { store::installSaveRecorder(nullptr); });
    if (reloaded)
        throw std::runtime_error("an own save was taken for an outside change");
    if (guarded.history.changes().size() < 2 * runs || plain.history.changes().size() < 2 * runs)
        throw std::runtime_error("a history did not keep every save");
    return {{QStringLiteral("save cost.xml (%L1 purchases), history and the check against outside changes")
                 .arg(kLargePurchases),
             median(guardedMs), QStringLiteral("the same save, history only"), median(plainMs), 1.05, 0,
             2 * runs},
            {QStringLiteral("the check's own work on that save: identity compared before, identity noted "
                            "after with the history's checksum"),
             median(checkMs), QStringLiteral("the save, history only"), median(plainMs), 0.05, 0, runs}};
}

// Versions of the schedule as another computer would send them: each the
// tasks of folder and one task more, named by its round. Written by the
// program's own saver, before any window watches.
QString writeOutsideVersions(const QString& root, const QString& folder, int count) {
    const QString versions = root + QStringLiteral("/sync-outside-versions/");
    TYoteiList tasks;
    store::RecordingSink sink;
    const bool loaded = tasks.LoadFromFile(folder, sink);
    expectLoaded(loaded, sink, tasks.count(), kChangedTasks, folder + kYoteiFileName);
    TYotei* added = tasks.add();
    added->tuki = QStringLiteral("6");
    added->shuu = QStringLiteral("2");
    for (int i = 0; i < count; ++i) {
        const QString version = versions + QString::number(i) + QLatin1Char('/');
        added->name = QStringLiteral("ほかで足した予定 %1").arg(i);
        if (!QDir().mkpath(version) || !tasks.SaveToFile(version, sink))
            throw std::runtime_error("cannot write the outside versions");
    }
    return versions;
}

bool showsTask(const TListView3& list, const QString& name) {
    for (int i = list.rowCount() - 1; i >= 0; --i)
        if (static_cast<const TYotei*>(TListView3::rowData(list.row(i)))->name == name)
            return true;
    return false;
}

// Until the schedule tab has a row for the task, then painted, as the user sees it.
void waitUntilShown(TForm5& window, const QString& name) {
    QElapsedTimer waited;
    waited.start();
    QTimer tick; // wakes the wait however quiet the event loop is
    tick.start(5);
    while (!showsTask(*window.scheduleTab()->list(), name)) {
        if (waited.elapsed() > kGiveUpMs)
            throw std::runtime_error("the outside change did not reach the tab");
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    window.repaint();
}

void settle(int ms) {
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < ms) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
}

// A sync engine writes the new version under a temporary name in the folder
// and renames it over the file. The temporary file is in place, and the
// watcher has seen it, before the clock starts at the rename.
QList<Figure> outsideChange(const QString& root, int runs) {
    const QString folder = copyOf(root, QStringLiteral("sync-outside"), fullFolder(root),
                                  QDir(fullFolder(root)).entryList(QDir::Files));
    store::installSaveRecorder(nullptr);
    const QString versions = writeOutsideVersions(root, folder, runs);
    BenchPlatform platform(folder);
    platform.keepHistory = true;
    TForm5 window(platform);
    window.show();
    if (window.context().tasks->count() != kChangedTasks)
        throw std::runtime_error("the main window did not load the tasks");
    window.tabWidget()->setCurrentWidget(window.scheduleTab());
    window.scheduleTab()->filters()->button(kAllFilter)->click();
    settle(500); // conflict copies looked for, the start's own checks done
    const QString temporary = folder + QStringLiteral(".syncthing.yotei.xml.tmp");
    int round = 0;
    const auto placeNext = [&] {
        if (!QFile::copy(versions + QString::number(round) + QLatin1Char('/') + kYoteiFileName, temporary))
            throw std::runtime_error("cannot place the next outside version");
        settle(500);
    };
    const auto takeIn = [&] {
        if (std::rename(QFile::encodeName(temporary).constData(),
                        QFile::encodeName(folder + kYoteiFileName).constData()) != 0)
            throw std::runtime_error("cannot rename the outside version into place");
        waitUntilShown(window, QStringLiteral("ほかで足した予定 %1").arg(round++));
    };
    // The floor: the same file read again and the tab refilled by a direct call, no watcher.
    const auto readAgain = [&] {
        window.ReloadData({kYoteiFileName});
        window.repaint();
    };
    const QList<double> ms = medianMs(runs, {{takeIn, placeNext}, {readAgain, [] { settle(50); }}});
    const int recorded = int(window.context().history->changes().size());
    if (recorded < runs)
        throw std::runtime_error("the history did not record every outside change");
    return {{QStringLiteral("outside change of yotei.xml (%L1 tasks, by rename) until the schedule tab shows "
                            "it, painted")
                 .arg(kChangedTasks),
             ms[0], QStringLiteral("yotei.xml read again and the tab refilled, called directly"), ms[1], 0, 0,
             runs}};
}

} // namespace

QList<Figure> syncFigures(const QString& root, int runs) {
    qInfo("measuring the check against outside changes");
    return guardedSave(root, runs) + outsideChange(root, runs);
}

} // namespace bench
