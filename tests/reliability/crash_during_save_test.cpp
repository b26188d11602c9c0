#include "file_kinds.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace rel;

namespace {

// Enough kills to land in every step of a save many times over, few enough for a quick run.
constexpr int kKills = 200;
// The list grows by one record per save and starts over here, so saves stay short.
constexpr int kLongestList = 120;

void sleepMicroseconds(long us) {
    timespec t{us / 1000000, (us % 1000000) * 1000};
    while (nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

// Saves n, n+1, ... records until killed, telling the parent of every finished
// save; exits with 3 when a save fails.
[[noreturn]] void saveForever(const Kind& kind, const QString& folder, int n, int done) {
    for (;;) {
        store::RecordingSink sink;
        if (!kind.save(folder, kind.sample(n), sink, nullptr) || !sink.messages.isEmpty())
            _exit(3);
        if (write(done, "s", 1) != 1)
            _exit(4);
        n = n >= kLongestList ? 1 : n + 1;
    }
}

// The number of records the file holds, read as the program reads it; -1 when it cannot be read in full.
int recordsIn(const Kind& kind, const QString& folder) {
    if (!kind.readable())
        return int(readBytes(folder + kind.fileName).count("<p><a href="));
    Records records;
    store::RecordingSink sink;
    if (!kind.load(folder, records, sink) || !sink.messages.isEmpty())
        return -1;
    return int(records.size());
}

QByteArray bytesOfState(const Kind& kind, int n) {
    static QMap<QPair<QString, int>, QByteArray> known;
    const auto key = qMakePair(kind.id, n);
    if (!known.contains(key)) {
        QTemporaryDir scratch;
        store::RecordingSink sink;
        kind.save(folderOf(scratch.path()), kind.sample(n), sink, nullptr);
        known.insert(key, readBytes(folderOf(scratch.path()) + kind.fileName));
    }
    return known.value(key);
}

} // namespace

class CrashDuringSaveTest : public QObject {
    Q_OBJECT
private slots:
    void fileIsAlwaysOneCompleteSaveAfterAKill();
};

void CrashDuringSaveTest::fileIsAlwaysOneCompleteSaveAfterAKill() {
    const QList<Kind>& all = kinds();
    QList<std::shared_ptr<QTemporaryDir>> dirs;
    QList<int> state;
    for (const Kind& kind : all) {
        dirs << std::make_shared<QTemporaryDir>();
        state << 3;
        store::RecordingSink sink;
        QVERIFY(kind.save(folderOf(dirs.last()->path()), kind.sample(3), sink, nullptr));
    }

    std::mt19937 random(20240610);
    std::uniform_int_distribution<long> delay(0, 10000);
    int leftovers = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const int k = kill % int(all.size());
        const Kind& kind = all[k];
        const QString folder = folderOf(dirs[k]->path());
        int done[2];
        QCOMPARE(pipe(done), 0);
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            close(done[0]);
            saveForever(kind, folder, state[k] + 1, done[1]);
        }
        close(done[1]);
        // The random moment is counted from the first finished save, so that a slow
        // machine still has its saves cut at every step.
        char c = 0;
        const bool saved = read(done[0], &c, 1) == 1;
        sleepMicroseconds(delay(random));
        ::kill(child, SIGKILL);
        close(done[0]);
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY2(saved && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL,
                 "the saving child failed on its own");

        const int n = recordsIn(kind, folder);
        const QByteArray bytes = readBytes(folder + kind.fileName);
        QVERIFY2(n >= 0,
                 qPrintable(kind.id + ": the file does not load after kill " + QString::number(kill)));
        QVERIFY2(bytes == bytesOfState(kind, n),
                 qPrintable(kind.id + ": not a complete save after kill " + QString::number(kill)));
        state[k] = n;

        const QStringList entries =
            QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        if (entries != QStringList{kind.fileName}) {
            ++leftovers;
            qInfo() << kind.id << "left after kill" << kill << entries;
        }
        // The program's next save must clear whatever the killed one left.
        store::RecordingSink sink;
        QVERIFY(kind.save(folder, kind.sample(n), sink, nullptr));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{kind.fileName});
        QCOMPARE(readBytes(folder + kind.fileName), bytes);
    }
    qInfo() << kKills << "kills," << leftovers << "left something beside the file";
}

QTEST_GUILESS_MAIN(CrashDuringSaveTest)
#include "crash_during_save_test.moc"
