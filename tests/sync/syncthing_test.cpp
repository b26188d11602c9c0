#include "history/history.h"
#include "store/save_file.h"
#include "sync/conflict_copies.h"
#include "sync/notebook_sync.h"
#include "sync/record_kinds.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

// Two real Syncthing daemons on this machine, each with its own home and
// keys, share one notebook folder: what the program saves on one side
// arrives on the other, and a clash leaves a conflict copy that the program
// offers to take in. Only localhost: no discovery, relays or GUI. Arrival is
// waited for with a generous bound; nothing here measures speed.
namespace {

constexpr int kArrivalMs = 240000;

int freePort() {
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

struct Device {
    QString home;
    QString folder;
    QString id;
    int port = 0;
    std::unique_ptr<QProcess> daemon;
};

QString run(const QStringList& arguments) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("syncthing"), arguments);
    p.waitForFinished(120000);
    return QString::fromUtf8(p.readAll());
}

QString deviceXml(const Device& d) {
    return QStringLiteral("<device id=\"%1\" name=\"%1\" compression=\"metadata\" introducer=\"false\">"
                          "<address>tcp://127.0.0.1:%2</address></device>")
        .arg(d.id)
        .arg(d.port);
}

void writeConfig(const Device& self, const Device& other) {
    const QString xml =
        QStringLiteral("<configuration version=\"36\">"
                       "<folder id=\"notebook\" label=\"notebook\" path=\"%1\" type=\"sendreceive\" "
                       "rescanIntervalS=\"2\" fsWatcherEnabled=\"true\" fsWatcherDelayS=\"1\">"
                       "<device id=\"%2\"></device><device id=\"%3\"></device>"
                       "<maxConflicts>10</maxConflicts></folder>"
                       "%4%5"
                       "<gui enabled=\"false\" tls=\"false\"><address>127.0.0.1:0</address></gui>"
                       "<options><listenAddress>tcp://127.0.0.1:%6</listenAddress>"
                       "<globalAnnounceEnabled>false</globalAnnounceEnabled>"
                       "<localAnnounceEnabled>false</localAnnounceEnabled>"
                       "<relaysEnabled>false</relaysEnabled><natEnabled>false</natEnabled>"
                       "<urAccepted>-1</urAccepted><autoUpgradeIntervalH>0</autoUpgradeIntervalH>"
                       "<crashReportingEnabled>false</crashReportingEnabled>"
                       "<startBrowser>false</startBrowser></options></configuration>")
            .arg(self.folder, self.id, other.id, deviceXml(self), deviceXml(other))
            .arg(self.port);
    QFile file(self.home + QStringLiteral("/config.xml"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(xml.toUtf8());
}

void start(Device& d) {
    d.daemon = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("STNOUPGRADE"), QStringLiteral("1"));
    env.insert(QStringLiteral("STNODEFAULTFOLDER"), QStringLiteral("1"));
    d.daemon->setProcessEnvironment(env);
    d.daemon->setStandardOutputFile(d.home + QStringLiteral("/log.txt"), QIODevice::Append);
    d.daemon->setProcessChannelMode(QProcess::MergedChannels);
    d.daemon->start(QStringLiteral("syncthing"),
                    {QStringLiteral("serve"), QStringLiteral("--home=") + d.home,
                     QStringLiteral("--no-browser"), QStringLiteral("--no-restart"),
                     QStringLiteral("--no-upgrade")});
    QVERIFY(d.daemon->waitForStarted());
}

void stop(Device& d) {
    if (!d.daemon)
        return;
    d.daemon->terminate();
    if (!d.daemon->waitForFinished(20000)) {
        d.daemon->kill();
        d.daemon->waitForFinished();
    }
    d.daemon.reset();
}

QStringList conflictCopies(const QString& folder) {
    QStringList names;
    for (const syncing::ConflictCopy& copy : syncing::findConflictCopies(folder))
        names << copy.name;
    return names;
}

} // namespace

class SyncthingTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void savesArriveAndClashIsOffered();
    void cleanupTestCase();

private:
    QTemporaryDir m_root;
    Device m_a;
    Device m_b;
};

void SyncthingTest::initTestCase() {
    if (QStandardPaths::findExecutable(QStringLiteral("syncthing")).isEmpty())
        QFAIL("syncthing is not installed (scripts/setup.sh installs it)");
    for (auto [d, name] : {std::pair{&m_a, "a"}, std::pair{&m_b, "b"}}) {
        d->home = m_root.path() + QStringLiteral("/home-") + QString::fromLatin1(name);
        d->folder =
            m_root.path() + QStringLiteral("/notebook-") + QString::fromLatin1(name) + QLatin1Char('/');
        QVERIFY(QDir().mkpath(d->folder + QStringLiteral(".stfolder")));
        run({QStringLiteral("generate"), QStringLiteral("--home=") + d->home,
             QStringLiteral("--no-default-folder")});
        const QString out = run(
            {QStringLiteral("serve"), QStringLiteral("--home=") + d->home, QStringLiteral("--device-id")});
        const QRegularExpressionMatch id =
            QRegularExpression(QStringLiteral("([A-Z0-9]{7}(-[A-Z0-9]{7}){7})")).match(out);
        QVERIFY2(id.hasMatch(), qPrintable(out));
        d->id = id.captured(1);
        d->port = freePort();
    }
    QVERIFY(m_a.id != m_b.id);
    writeConfig(m_a, m_b);
    writeConfig(m_b, m_a);
    start(m_a);
    start(m_b);
}

void SyncthingTest::cleanupTestCase() {
    stop(m_a);
    stop(m_b);
}

void SyncthingTest::savesArriveAndClashIsOffered() {
    const synctest::RecordKind tasks = synctest::recordKinds()[2];
    QCOMPARE(tasks.file, kYoteiFileName);
    store::RecordingSink sink;
    QVERIFY(tasks.write(m_a.folder, QStringLiteral("支柱立て"), sink));
    QTRY_COMPARE_WITH_TIMEOUT(tasks.names(m_b.folder), QStringList{QStringLiteral("支柱立て")}, kArrivalMs);

    // Both sides change the file while they cannot see each other.
    stop(m_b);
    QVERIFY(tasks.write(m_a.folder, QStringLiteral("追肥"), sink));
    QTest::qWait(1100); // the two versions' times differ, so the engine picks a winner
    QVERIFY(tasks.write(m_b.folder, QStringLiteral("土寄せ"), sink));
    start(m_b);
    QTRY_VERIFY_WITH_TIMEOUT(!conflictCopies(m_a.folder).isEmpty() || !conflictCopies(m_b.folder).isEmpty(),
                             kArrivalMs);
    const QString side = conflictCopies(m_a.folder).isEmpty() ? m_b.folder : m_a.folder;
    stop(m_a);
    stop(m_b);

    history::History history(side);
    store::installSaveRecorder(&history);
    QString asked;
    syncing::NotebookSync sync(
        side, &history,
        {[] { return false; }, [](const QStringList&) {}, [](const QString& f) { return f; },
         [&](const QString& text) { return asked = text, true; }, [](const QString&) {}});
    sync.install();
    sync.offerConflictCopies();
    store::installSaveRecorder(nullptr);
    QVERIFY(asked.contains(QStringLiteral("sync-conflict")));
    QStringList names = tasks.names(side);
    names.sort();
    QCOMPARE(names, (QStringList{QStringLiteral("土寄せ"), QStringLiteral("追肥")}));
    QVERIFY(conflictCopies(side).isEmpty());
}

QTEST_GUILESS_MAIN(SyncthingTest)
#include "syncthing_test.moc"
