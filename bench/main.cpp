// aobaroku-bench: times the program's file, command, chart and start-up work on
// data sets it makes itself, each beside a floor measured in the same rounds.

#include "data_sets.h"
#include "figure.h"
#include "figures.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QTemporaryDir>
#include <cstdio>
#include <stdexcept>

namespace {

struct Options {
    bool json = false;
    QStringList parts = {"files",   "commands", "chart",   "lists",   "search",
                         "startup", "history",  "harvest", "seasons", "sync"};
    int runs = 7;
    QList<int> taskCounts = {1000, 10000, 100000};
    QString program = QStringLiteral(AOBAROKU_PROGRAM);
    QString largeNotebook;    // set: only write the large notebook there
    QString shuffledNotebook; // set: only write the notebook in random date order there
};

// The bench's own windows are shown off-screen. True when it set the platform,
// which it takes back once the application has read it, so that the programs
// it starts show on the screen it was given.
bool offscreenForTheBench() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return false;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return true;
}

Options parseOptions(const QApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Times Aobaroku's work against floors on generated data."));
    parser.addHelpOption();
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print the table as JSON."));
    const QCommandLineOption runs(QStringLiteral("runs"), QStringLiteral("Rounds per figure (default 7)."),
                                  QStringLiteral("n"), QStringLiteral("7"));
    const QCommandLineOption only(
        QStringLiteral("only"),
        QStringLiteral("Only these parts, comma-separated: files, commands, chart, lists, search, startup, "
                       "history, harvest, seasons, sync."),
        QStringLiteral("parts"));
    const QCommandLineOption noStartup(QStringLiteral("no-startup"),
                                       QStringLiteral("Leave out the main window."));
    const QCommandLineOption large(
        QStringLiteral("write-large-notebook"),
        QStringLiteral("Only write the large notebook (%L1 purchases, %L2 tasks) into a folder.")
            .arg(bench::kLargePurchases)
            .arg(bench::kLargeTasks),
        QStringLiteral("folder"));
    const QCommandLineOption shuffled(
        QStringLiteral("write-shuffled-notebook"),
        QStringLiteral("Only write a notebook as the Windows copy writes it (%L1 purchases in random date "
                       "order, 0 to %2 lines each; %L3 tasks) into a folder.")
            .arg(bench::kLargePurchases)
            .arg(bench::kPurchaseLines)
            .arg(bench::kLargeTasks),
        QStringLiteral("folder"));
    const QCommandLineOption program(
        QStringLiteral("program"),
        QStringLiteral("The program the start-up part starts (default: the one built with the bench)."),
        QStringLiteral("path"));
    parser.addOptions({json, runs, only, noStartup, program, large, shuffled});
    parser.process(app);
    Options options;
    options.json = parser.isSet(json);
    if (parser.isSet(only))
        options.parts = parser.value(only).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (parser.isSet(noStartup))
        options.parts.removeAll(QStringLiteral("startup"));
    options.runs = std::max(1, parser.value(runs).toInt());
    if (parser.isSet(program))
        options.program = parser.value(program);
    options.largeNotebook = parser.value(large);
    options.shuffledNotebook = parser.value(shuffled);
    return options;
}

QList<bench::Figure> measureAll(const Options& options) {
    QTemporaryDir dir;
    if (!dir.isValid())
        throw std::runtime_error("cannot make a temporary folder");
    qInfo("writing the data sets into %s", qPrintable(dir.path()));
    bench::writeDataSets(dir.path(), options.taskCounts);
    const QString root = dir.path();
    QList<bench::Figure> figures;
    if (options.parts.contains(QStringLiteral("files")))
        figures += bench::fileFigures(root, options.taskCounts, options.runs);
    if (options.parts.contains(QStringLiteral("commands")))
        figures += bench::commandFigures(root, options.runs);
    if (options.parts.contains(QStringLiteral("chart")))
        figures += bench::chartFigures(root, root + QLatin1Char('/'), options.runs);
    if (options.parts.contains(QStringLiteral("lists")))
        figures += bench::listFigures(root, options.runs);
    if (options.parts.contains(QStringLiteral("search")))
        figures += bench::searchFigures(root, options.runs);
    if (options.parts.contains(QStringLiteral("startup"))) {
        figures += bench::startupFigures(root, options.runs);
        figures += bench::processStartFigures(options.program, options.runs);
        figures += bench::largeStartFigures(options.program, root, options.runs);
        figures += bench::shuffledStartFigures(options.program, root, options.runs);
    }
    if (options.parts.contains(QStringLiteral("seasons")))
        figures += bench::seasonFigures(root, options.runs);
    if (options.parts.contains(QStringLiteral("history")))
        figures += bench::historyFigures(root, std::max(options.runs, 9));
    if (options.parts.contains(QStringLiteral("harvest")))
        figures += bench::harvestFigures(root, options.runs);
    if (options.parts.contains(QStringLiteral("sync")))
        figures += bench::syncFigures(root, options.runs);
    return figures;
}

// The --write-... options: a notebook written, nothing measured.
bool writeNotebookOnly(const Options& options) {
    const auto folder = [](const QString& path) { return QDir(path).absolutePath() + QLatin1Char('/'); };
    if (!options.largeNotebook.isEmpty())
        bench::writeLargeNotebook(folder(options.largeNotebook));
    if (!options.shuffledNotebook.isEmpty())
        bench::writeShuffledNotebook(folder(options.shuffledNotebook));
    return !options.largeNotebook.isEmpty() || !options.shuffledNotebook.isEmpty();
}

} // namespace

int main(int argc, char** argv) {
    const bool platformSet = offscreenForTheBench();
    QApplication app(argc, argv);
    if (platformSet)
        qunsetenv("QT_QPA_PLATFORM");
    const Options options = parseOptions(app);
    const bench::Machine machine = bench::Machine::current();
    try {
        if (writeNotebookOnly(options))
            return 0;
        const QList<bench::Figure> figures = measureAll(options);
        const QByteArray out =
            options.json ? bench::jsonTable(machine, figures) : bench::textTable(machine, figures).toUtf8();
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    } catch (const std::exception& e) {
        qCritical("aobaroku-bench: %s", e.what());
        return 1;
    }
    return 0;
}
