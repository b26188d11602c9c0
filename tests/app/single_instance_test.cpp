#include "app/single_instance.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <sys/stat.h>

namespace {

// True when the process pid holds a flock on the file. Read from the kernel's
// lock table, so looking does not itself take the lock and race the program.
bool holdsLock(qint64 pid, const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    QFile locks("/proc/locks");
    if (!locks.open(QIODevice::ReadOnly))
        return false;
    const QByteArray inode = ":" + QByteArray::number(qulonglong(info.st_ino)) + " ";
    for (const QByteArray& line : locks.readAll().split('\n'))
        if (line.contains("FLOCK") && line.contains(" " + QByteArray::number(pid) + " ") &&
            line.contains(inode))
            return true;
    return false;
}

// Waits, within a generous bound, until the program has taken its lock.
bool lockTakenBy(qint64 pid, const QString& path) {
    for (int i = 0; i < 600; ++i) {
        if (holdsLock(pid, path))
            return true;
        QTest::qWait(100);
    }
    return false;
}

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QVERIFY(m_runtime.isValid());
        qputenv("XDG_RUNTIME_DIR", m_runtime.path().toLocal8Bit());
    }

    void lockIsNamedAfterTheProgram() {
        QCOMPARE(SingleInstance::lockPath(), m_runtime.path() + "/Aobaroku.lock");
    }

    void refusesSecondHolderInTheSameProcess() {
        SingleInstance first;
        QVERIFY(first.tryLock());
        SingleInstance second;
        QVERIFY(!second.tryLock());
    }

    // The real program holds the lock; once it is killed the lock counts as free.
    void refusesWhileRunningProgramHoldsItAndAdmitsAfterKill() {
        const QString bin = qEnvironmentVariable("AOBAROKU_BIN_DIR") + "/aobaroku";
        QVERIFY2(QFile::exists(bin), qPrintable(bin));
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_RUNTIME_DIR", m_runtime.path());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        program.setProcessEnvironment(env);
        program.start(bin, {});
        QVERIFY(program.waitForStarted());
        QVERIFY(lockTakenBy(program.processId(), SingleInstance::lockPath()));
        SingleInstance second;
        QVERIFY(!second.tryLock());
        ::kill(pid_t(program.processId()), SIGKILL);
        QVERIFY(program.waitForFinished());
        SingleInstance after;
        QVERIFY(after.tryLock());
    }

private:
    QTemporaryDir m_runtime;
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "single_instance_test.moc"
