#include "app/instance_channel.h"
#include "app/main_window.h"
#include "app/single_instance.h"
#include "support/scripted_platform.h"

#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

QString program() {
    return qEnvironmentVariable("AOBAROKU_BIN_DIR") + "/aobaroku";
}

// A start of the real program on the test's data, runtime and configuration folders.
void startProgram(QProcess& process, const QString& home, const QString& data) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_RUNTIME_DIR", home + "/runtime");
    env.insert("XDG_CONFIG_HOME", home + "/config");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program(), {"--data", data});
}

void stop(QProcess& process) {
    process.kill();
    process.waitForFinished();
}

// What a program killed while it listened leaves behind: the socket file with no one at it.
bool leaveDeadSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || size_t(name.size()) >= sizeof(address.sun_path))
        return false;
    std::copy(name.begin(), name.end(), address.sun_path);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound && QFileInfo(path).exists();
}

} // namespace

// A second start brings the running window to the front through the one
// channel to it, a local socket per user and data folder.
class SecondStartTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_data;
    QString home() const { return m_dir->path(); }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_data = home() + "/data/";
        const QString runtime = home() + "/runtime";
        QVERIFY(QDir().mkpath(m_data) && QDir().mkpath(runtime));
        QVERIFY(QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
        QVERIFY2(QFile::exists(program()), qPrintable(program()));
    }

    // The first start here is the test, with the real main window minimised;
    // the second is the real program, which raises it before it says why it
    // opens no window of its own.
    void secondStartRaisesTheFirstWindow() {
        SingleInstance lock;
        QVERIFY(lock.tryLock());
        ScriptedPlatform platform(m_data);
        TForm5 window(platform);
        window.showMinimized();
        QVERIFY(window.isMinimized());
        int raised = 0;
        InstanceChannel channel(m_data);
        channel.handle(kRaiseMessage, [&] {
            raiseWindow(window);
            ++raised;
        });
        QVERIFY(channel.listen());

        QProcess second;
        startProgram(second, home(), m_data);
        QVERIFY(second.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(raised, 1, 60000);
        QVERIFY(!window.isMinimized());
        QVERIFY(window.isVisible());
        // It still shows its warning; no window of its own, no channel of its own.
        QCOMPARE(second.state(), QProcess::Running);
        stop(second);
        QVERIFY(QFile::exists(InstanceChannel::socketPath(m_data)));
        QCOMPARE(raised, 1);
    }

    // The running program here is the real one, and the test asks it as a second start would.
    void runningProgramAnswersOnTheChannelOfItsDataFolder() {
        QProcess first;
        startProgram(first, home(), m_data);
        QVERIFY(first.waitForStarted());
        const QString socket = InstanceChannel::socketPath(m_data);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 60000);
        QVERIFY(InstanceChannel::send(m_data, kRaiseMessage));
        // The same folder however it is named.
        QVERIFY(InstanceChannel::send(home() + "/data/../data", kRaiseMessage));
        QVERIFY(!InstanceChannel::send(m_data, "delete-everything"));
        const QString other = home() + "/other";
        QVERIFY(QDir().mkpath(other));
        QVERIFY(InstanceChannel::socketPath(other) != socket);
        QVERIFY(!InstanceChannel::send(other, kRaiseMessage));
        QCOMPARE(first.state(), QProcess::Running);
        stop(first);
    }

    void socketLiesInTheRuntimeFolder() {
        const QString socket = InstanceChannel::socketPath(m_data);
        QCOMPARE(QFileInfo(socket).path(), home() + "/runtime");
        QVERIFY(QFileInfo(socket).fileName().startsWith("aobaroku-"));
    }

    // A program killed leaves its socket behind; the next start takes the channel over.
    void leftSocketIsTakenOver() {
        QVERIFY(leaveDeadSocket(InstanceChannel::socketPath(m_data)));
        InstanceChannel channel(m_data);
        int raised = 0;
        channel.handle(kRaiseMessage, [&] { ++raised; });
        QVERIFY(channel.listen());
        QLocalSocket client;
        client.connectToServer(InstanceChannel::socketPath(m_data));
        QVERIFY(client.waitForConnected(5000));
        client.write("raise\n");
        QTRY_COMPARE(raised, 1);
        QTRY_VERIFY(client.canReadLine());
        QCOMPARE(client.readLine(), QByteArray("ok\n"));
    }

    // Only a line naming a message is carried out; an endless one is cut off.
    void endlessLineIsDropped() {
        InstanceChannel channel(m_data);
        int raised = 0;
        channel.handle(kRaiseMessage, [&] { ++raised; });
        QVERIFY(channel.listen());
        QLocalSocket client;
        client.connectToServer(InstanceChannel::socketPath(m_data));
        QVERIFY(client.waitForConnected(5000));
        client.write(QByteArray(4096, 'r'));
        client.write("raise\n");
        QTRY_COMPARE(client.state(), QLocalSocket::UnconnectedState);
        QCOMPARE(raised, 0);
    }
};

QTEST_MAIN(SecondStartTest)
#include "second_start_test.moc"
