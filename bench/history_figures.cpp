#include "bench_platform.h"
#include "data_sets.h"
#include "figures.h"
#include "timing.h"

#include "app/main_window.h"
#include "history/command_scope.h"
#include "history/history.h"
#include "history_ui/history_window.h"
#include "history_ui/undo_commands.h"
#include "schedule/task_records.h"
#include "store/save_file.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <memory>
#include <stdexcept>

namespace bench {

namespace {

constexpr int kSaveTasks = 100000;
constexpr int kUndoTasks = 10000;
constexpr int kWindowChanges = 200;

// A folder of its own under root holding a copy of the tasks of source.
QString copyOfTasks(const QString& root, const QString& name, const QString& source) {
    const QString folder = root + QLatin1Char('/') + name + QLatin1Char('/');
    if (!QDir().mkpath(folder) || !QFile::copy(source + kYoteiFileName, folder + kYoteiFileName))
        throw std::runtime_error("cannot copy the tasks into " + folder.toStdString());
    return folder;
}

std::unique_ptr<TYoteiList> loadTasks(const QString& folder, int expected) {
    auto tasks = std::make_unique<TYoteiList>();
    store::RecordingSink sink;
    const bool loaded = tasks->LoadFromFile(folder, sink);
    expectLoaded(loaded, sink, tasks->count(), expected, folder + kYoteiFileName);
    return tasks;
}

void save(const TYoteiList& tasks, const QString& folder) {
    store::RecordingSink sink;
    if (!tasks.SaveToFile(folder, sink))
        throw std::runtime_error("cannot save " + folder.toStdString());
}

// The same list saved into two copies of one folder, one with the history on
// and one without, round after round; pruning waits, as in the program, until
// the save has returned, and runs between the rounds.
Figure saveWithHistory(const QString& root, int runs) {
    const QString source = taskFolder(root, kSaveTasks);
    const QString on = copyOfTasks(root, QStringLiteral("history-on"), source);
    const QString off = copyOfTasks(root, QStringLiteral("history-off"), source);
    const std::unique_ptr<TYoteiList> tasks = loadTasks(off, kSaveTasks);
    history::History h(on);
    QList<std::function<void()>> later;
    h.setDeferral([&later](std::function<void()> work) { later << std::move(work); });
    store::installSaveRecorder(&h);
    loadTasks(on, kSaveTasks); // the history learns the file as the program would at start
    const auto withHistory = [&] {
        for (const auto& work : std::exchange(later, {}))
            work();
        store::installSaveRecorder(&h);
    };
    const QList<double> ms =
        medianMs(runs, {{[&] { save(*tasks, on); }, withHistory},
                        {[&] { save(*tasks, off); }, [] { store::installSaveRecorder(nullptr); }}});
    store::installSaveRecorder(nullptr);
    if (h.keepFailed() || h.changes().isEmpty())
        throw std::runtime_error("the history kept nothing");
    return {QStringLiteral("save yotei.xml (%L1 tasks), history on").arg(kSaveTasks),
            ms[0],
            QStringLiteral("the same save, history off"),
            ms[1],
            1.25,
            0,
            runs};
}

// Ctrl+Z in the main window after a task was marked done: the file written
// back, the schedule read again and its tab refilled, the message given.
QList<Figure> undoOfASave(const QString& root, int runs) {
    const QString folder = copyOfTasks(root, QStringLiteral("history-undo"), fullFolder(root));
    BenchPlatform platform(folder);
    platform.keepHistory = true;
    TForm5 window(platform);
    window.show();
    TYoteiList& tasks = *window.context().tasks;
    if (tasks.count() != kUndoTasks)
        throw std::runtime_error("the main window did not load the tasks");
    int round = 0;
    // What runs after a command in the program runs here too: pruning, and
    // packing the version just kept, which the undo then unpacks.
    // As after every undo in the program, the schedule is read again before the
    // next command: a save over a file the list was not read from is refused.
    const auto markDone = [&] {
        window.ReloadData({kYoteiFileName});
        {
            const history::CommandScope change(window.context().history,
                                               QStringLiteral("予定「完了にする」"));
            tasks.at(round++ % tasks.count())->state = kYoteiDone;
            save(tasks, folder);
        }
        QCoreApplication::processEvents();
    };
    // The file alone, then all that Ctrl+Z does; most of the difference is reading the schedule again.
    history::History& h = *window.context().history;
    const auto undoFiles = [&h] {
        if (!h.undo().done)
            throw std::runtime_error("the undo did not go through");
    };
    const QList<double> ms =
        medianMs(runs, {{undoFiles, markDone}, {[&] { window.undoCommands()->Undo(); }, markDone}});
    if (platform.shown.filter(QStringLiteral("を元に戻しました。")).size() != runs)
        throw std::runtime_error("an undo did not go through: " + platform.shown.join(' ').toStdString());
    const QString n = QStringLiteral("%L1 tasks").arg(kUndoTasks);
    return {{QStringLiteral("undo of a save of %1: the file back (History::undo)").arg(n), ms[0], QString(),
             0, 0, 100, runs},
            {QStringLiteral("Ctrl+Z of a save of %1: file back, schedule read again, tab refilled").arg(n),
             ms[1], QString(), 0, 0, 100, runs}};
}

// The history read from disk as at a start, and the window built and shown.
Figure openHistoryWindow(const QString& root, int runs) {
    const QString folder = copyOfTasks(root, QStringLiteral("history-window"), taskFolder(root, 1000));
    {
        history::History h(folder);
        store::installSaveRecorder(&h);
        const std::unique_ptr<TYoteiList> tasks = loadTasks(folder, 1000);
        for (int i = 0; i < kWindowChanges; ++i) {
            const history::CommandScope change(&h, QStringLiteral("予定「完了にする」"));
            tasks->at(i)->state = kYoteiDone;
            save(*tasks, folder);
        }
        store::installSaveRecorder(nullptr);
    }
    BenchPlatform platform(folder);
    std::unique_ptr<history::History> h;
    std::unique_ptr<TFormHistory> window;
    const auto drop = [&] {
        window.reset();
        h.reset();
        QCoreApplication::processEvents();
    };
    const QList<double> ms =
        medianMs(runs, {{[&] {
                             h = std::make_unique<history::History>(folder);
                             window = std::make_unique<TFormHistory>(platform, *h, [](int) {});
                             window->show();
                         },
                         drop}});
    drop();
    history::History check(folder);
    if (check.changes().size() != kWindowChanges)
        throw std::runtime_error("the history does not hold its changes");
    return {QStringLiteral("history window with %L1 changes: read from disk and shown").arg(kWindowChanges),
            ms[0],
            QString(),
            0,
            0,
            100,
            runs};
}

} // namespace

QList<Figure> historyFigures(const QString& root, int runs) {
    qInfo("measuring the history");
    return QList<Figure>{saveWithHistory(root, runs)} + undoOfASave(root, runs) +
           QList<Figure>{openHistoryWindow(root, runs)};
}

} // namespace bench
