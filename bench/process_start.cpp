#include "process_start.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <deque>
#include <stdexcept>
#include <thread>

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kIdleWindow = std::chrono::milliseconds(400);
constexpr auto kSampleEvery = std::chrono::milliseconds(5);
constexpr auto kGiveUpAfter = std::chrono::seconds(60);
// Less CPU than this over the whole window counts as flat: an idle window
// system client still wakes now and then for a moment.
constexpr qint64 kFlatNs = 1'000'000;

QByteArray readProc(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The fields of /proc/<pid>/stat after the command name, which may hold spaces.
QList<QByteArray> statFields(const QByteArray& stat) {
    const qsizetype close = stat.lastIndexOf(')');
    return close < 0 ? QList<QByteArray>() : stat.mid(close + 2).split(' ');
}

// The process and every process below it, found through the parents /proc names.
QList<pid_t> processTree(pid_t root) {
    QHash<pid_t, QList<pid_t>> children;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool number = false;
        const pid_t pid = entry.toInt(&number);
        if (!number)
            continue;
        const QList<QByteArray> fields = statFields(readProc(QStringLiteral("/proc/%1/stat").arg(pid)));
        if (fields.size() > 1)
            children[fields[1].toInt()].append(pid);
    }
    QList<pid_t> tree{root};
    for (qsizetype i = 0; i < tree.size(); ++i)
        tree += children.value(tree[i]);
    return tree;
}

// Time on the CPU of every thread of the process, in nanoseconds.
qint64 cpuNs(pid_t pid) {
    qint64 total = 0;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(pid);
    for (const QString& tid : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QByteArray schedstat = readProc(tasks + QLatin1Char('/') + tid + QStringLiteral("/schedstat"));
        total += schedstat.left(schedstat.indexOf(' ')).toLongLong();
    }
    return total;
}

qint64 rssKb(pid_t pid) {
    for (const QByteArray& line : readProc(QStringLiteral("/proc/%1/status").arg(pid)).split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

bool ended(pid_t pid) {
    const QList<QByteArray> fields = statFields(readProc(QStringLiteral("/proc/%1/stat").arg(pid)));
    return fields.isEmpty() || fields[0] == "Z";
}

struct Sample {
    Clock::time_point at;
    qint64 cpu;
};

// Samples the tree's CPU time until the last kIdleWindow of it grew by less than
// kFlatNs; the idle moment is the start of that window.
Clock::time_point waitForIdle(pid_t root, Clock::time_point start, QList<pid_t>& tree) {
    std::deque<Sample> samples;
    auto lastScan = start;
    for (;;) {
        std::this_thread::sleep_for(kSampleEvery);
        const auto now = Clock::now();
        if (ended(root))
            throw std::runtime_error("the program ended before it was idle");
        if (now - start > kGiveUpAfter)
            throw std::runtime_error("the program was not idle within a minute");
        // Children are rare and slow to appear; the whole process table is read seldom.
        if (now - lastScan > std::chrono::milliseconds(50)) {
            tree = processTree(root);
            lastScan = now;
        }
        qint64 cpu = 0;
        for (pid_t pid : tree)
            cpu += cpuNs(pid);
        samples.push_back({now, cpu});
        while (samples.size() > 1 && now - samples[1].at >= kIdleWindow)
            samples.pop_front();
        if (now - samples.front().at >= kIdleWindow && cpu - samples.front().cpu < kFlatNs)
            return samples.front().at;
    }
}

QProcessEnvironment startEnvironment(const QProcessEnvironment& extra) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")) &&
        !environment.contains(QStringLiteral("DISPLAY")) &&
        !environment.contains(QStringLiteral("WAYLAND_DISPLAY")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    for (const QString& key : extra.keys())
        environment.insert(key, extra.value(key));
    return environment;
}

} // namespace

ProcessStart measureProcessStart(const QString& program, const QStringList& arguments,
                                 const QProcessEnvironment& extra) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setProcessEnvironment(startEnvironment(extra));
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    const auto start = Clock::now();
    process.start();
    if (!process.waitForStarted())
        throw std::runtime_error("cannot start " + program.toStdString());
    const pid_t root = pid_t(process.processId());
    QList<pid_t> tree{root};
    const auto idle = waitForIdle(root, start, tree);
    qint64 rss = 0;
    for (pid_t pid : processTree(root))
        rss += rssKb(pid);
    tree = processTree(root);
    for (qsizetype i = tree.size() - 1; i > 0; --i)
        ::kill(tree[i], SIGKILL);
    process.kill();
    process.waitForFinished();
    return {std::chrono::duration<double, std::milli>(idle - start).count(), double(rss) / 1024};
}

// The program's site folder is the one beside it; --data keeps the data
// folder as it is, without starter files.
ProcessStart measureProgramStart(const QString& program, const QString& dataFolder) {
    QTemporaryDir lock;
    if (!lock.isValid())
        throw std::runtime_error("cannot make a temporary folder");
    // Its own lock, so a running copy of the program cannot turn it away.
    QProcessEnvironment ownLock;
    ownLock.insert(QStringLiteral("XDG_RUNTIME_DIR"), lock.path());
    return measureProcessStart(program, {QStringLiteral("--data"), QFileInfo(dataFolder).absoluteFilePath()},
                               ownLock);
}

} // namespace bench
