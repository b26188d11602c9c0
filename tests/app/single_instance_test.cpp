#include "app/single_instance.h"
#include "support/process_locks.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

using testsupport::lockTakenBy;

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
