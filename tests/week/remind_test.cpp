#include "app/instance_channel.h"
#include "app/single_instance.h"
#include "support/files.h"
#include "week/autostart.h"
#include "week/week_view.h"
#include "week_folder.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace weektest;

// A notification service that records what it is sent, as a desktop's would
// receive it, and ends the notification when the test says so.
class ScriptedNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Received {
        QString appName;
        QString summary;
        QString body;
        QStringList actions;
    };
    QList<Received> received;

public slots:
    QStringList GetCapabilities() { return {"body", "body-markup", "actions"}; }
    uint Notify(const QString& appName, uint, const QString&, const QString& summary, const QString& body,
                const QStringList& actions, const QVariantMap&, int) {
        received << Received{appName, summary, body, actions};
        return uint(received.size());
    }
    void CloseNotification(uint) {}

signals:
    void NotificationClosed(uint id, uint reason);
    void ActionInvoked(uint id, const QString& action);
};

// --remind against a session bus: one notification of this week's open and
// overdue tasks, held until it is closed or acted on; nothing when nothing is
// due; a line on standard error when no service answers. Always exit 0.
class RemindTest : public QObject {
    Q_OBJECT
private:
    QTemporaryDir m_root;
    QString m_folder;
    ScriptedNotifications m_service;
    QProcess m_program;

    static QString weekOf(const QDate& day) { return QString::number((day.day() - 1) / 7 + 1); }

    void writeSchedule(const QString& body) {
        QVERIFY(testsupport::writeBytes(m_folder + "/yotei.xml", windowsSchedule(body)));
    }

    void start(const QStringList& arguments,
               const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
        m_program.setProcessEnvironment(env);
        m_program.start(programPath(), arguments);
        QVERIFY(m_program.waitForStarted());
    }

    void waitForEnd() { QTRY_VERIFY_WITH_TIMEOUT(m_program.state() == QProcess::NotRunning, 60000); }

    bool serve() {
        return QDBusConnection::sessionBus().registerService("org.freedesktop.Notifications") &&
               QDBusConnection::sessionBus().registerObject("/org/freedesktop/Notifications", &m_service,
                                                            QDBusConnection::ExportAllSlots |
                                                                QDBusConnection::ExportAllSignals);
    }

    void stopServing() {
        QDBusConnection::sessionBus().unregisterObject("/org/freedesktop/Notifications");
        QDBusConnection::sessionBus().unregisterService("org.freedesktop.Notifications");
    }

    // A task for the week of today that the tab shows under 今週, whatever today is.
    QString dueThisWeek(const QString& name, const QString& state = QString()) {
        const QDate today = QDate::currentDate();
        int week = 1;
        for (QDate d(today.year(), today.month(), 1); d < today; d = d.addDays(1))
            week += d.dayOfWeek() == 6 ? 1 : 0;
        return task(name, today.month(), std::min(week, 5), state);
    }

    // An open task of an earlier month; in January none can be overdue.
    QString overdue(const QString& name) {
        const int month = QDate::currentDate().month();
        return month > 1 ? task(name, month - 1, 1) : QString();
    }

private slots:
    void initTestCase() {
        QVERIFY(m_root.isValid());
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
        m_folder = m_root.path() + "/garden";
        QVERIFY(QDir().mkpath(m_folder));
        QVERIFY(QDir().mkpath(m_root.path() + "/runtime"));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_root.path() + "/runtime"));
    }

    void cleanup() {
        stopServing();
        m_service.received.clear();
        if (m_program.state() != QProcess::NotRunning) {
            m_program.kill();
            m_program.waitForFinished();
        }
    }

    void listsOpenAndOverdueTasksAndWaitsUntilClosed() {
        writeSchedule(dueThisWeek("種まき&lt;一列&gt;") + dueThisWeek("済んだ作業", "完了") +
                      overdue("追肥"));
        QVERIFY(serve());
        start({"--remind", "--data", m_folder});
        QTRY_VERIFY2_WITH_TIMEOUT(m_service.received.size() == 1 || m_program.state() == QProcess::NotRunning,
                                  m_program.readAllStandardError().constData(), 60000);
        QVERIFY2(m_service.received.size() == 1, m_program.readAllStandardError().constData());
        const ScriptedNotifications::Received got = m_service.received.first();
        QCOMPARE(got.appName, QStringLiteral("青葉録"));
        QCOMPARE(got.summary, QStringLiteral("今週の作業"));
        QVERIFY2(got.body.contains("種まき&lt;一列&gt;"), qPrintable(got.body));
        QVERIFY(!got.body.contains("済んだ作業"));
        if (QDate::currentDate().month() > 1)
            QVERIFY2(
                got.body.contains(QStringLiteral("追肥（%1月1週）").arg(QDate::currentDate().month() - 1)),
                qPrintable(got.body));
        QVERIFY(got.actions.contains("default"));
        // Still there while the notification is shown.
        QTest::qWait(200);
        QCOMPARE(m_program.state(), QProcess::Running);
        emit m_service.NotificationClosed(1, 2);
        waitForEnd();
        QCOMPARE(m_program.exitCode(), 0);
        QCOMPARE(m_program.readAllStandardError(), QByteArray());
    }

    void nothingDueIsSilent() {
        writeSchedule(dueThisWeek("済んだ作業", "完了"));
        QVERIFY(serve());
        start({"--remind", "--data", m_folder});
        waitForEnd();
        QCOMPARE(m_program.exitCode(), 0);
        QCOMPARE(m_service.received.size(), 0);
        QCOMPARE(m_program.readAll(), QByteArray());
    }

    void noServiceSaysSo() {
        writeSchedule(dueThisWeek("種まき"));
        start({"--remind", "--data", m_folder});
        waitForEnd();
        QCOMPARE(m_program.exitCode(), 0);
        QVERIFY(QString::fromUtf8(m_program.readAllStandardError()).contains("通知サービスが見つかりません"));
    }

    void noSessionBusSaysSo() {
        writeSchedule(dueThisWeek("種まき"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("DBUS_SESSION_BUS_ADDRESS");
        env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + m_root.path() + "/no-bus");
        start({"--remind", "--data", m_folder}, env);
        waitForEnd();
        QCOMPARE(m_program.exitCode(), 0);
        QVERIFY(QString::fromUtf8(m_program.readAllStandardError()).contains("通知サービスが見つかりません"));
    }

    // The default action starts `aobaroku --week`, which hands the request to
    // the program already running for the notebook.
    void weekStartShowsThisWeekInTheRunningProgram() {
        SingleInstance running;
        QVERIFY(running.tryLock());
        InstanceChannel channel(m_folder);
        int shown = 0;
        channel.handle(kShowWeekMessage, [&shown] { ++shown; });
        QVERIFY(channel.listen());
        start({"--week", "--data", m_folder});
        waitForEnd();
        QCOMPARE(m_program.exitCode(), 0);
        QCOMPARE(shown, 1);
    }

    // The whole way from a click on the notification: the service reports the
    // default action, --remind ends and the program it starts hands 今週 to
    // the one already running.
    void clickOnNotificationShowsThisWeekInTheRunningProgram() {
        writeSchedule(dueThisWeek("種まき"));
        SingleInstance running;
        QVERIFY(running.tryLock());
        InstanceChannel channel(m_folder);
        int shown = 0;
        channel.handle(kShowWeekMessage, [&shown] { ++shown; });
        QVERIFY(channel.listen());
        QVERIFY(serve());
        start({"--remind", "--data", m_folder});
        QTRY_VERIFY2_WITH_TIMEOUT(m_service.received.size() == 1 || m_program.state() == QProcess::NotRunning,
                                  m_program.readAllStandardError().constData(), 60000);
        QVERIFY2(m_service.received.size() == 1, m_program.readAllStandardError().constData());
        emit m_service.ActionInvoked(1, "default");
        waitForEnd();
        QCOMPARE(m_program.exitCode(), 0);
        QCOMPARE(m_program.readAllStandardError(), QByteArray());
        QTRY_VERIFY_WITH_TIMEOUT(shown > 0, 60000);
        QCOMPARE(shown, 1);
    }

    // 設定's 「ログイン時に今週の作業を知らせる」 writes a valid autostart entry and removes it.
    void autostartEntryWrittenAndRemoved() {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_root.path() + "/config dir"));
        const QString folder = m_root.path() + "/my \"garden\" 100%";
        QVERIFY(SetRemindAtLogin(true, "/usr/bin/aobaroku", folder + "/").isEmpty());
        const QString path = RemindEntryPath();
        QVERIFY(path.startsWith(m_root.path() + "/config dir/autostart/"));
        QVERIFY(RemindEntryWritten());
        QProcess validate;
        validate.start("desktop-file-validate", {path});
        QVERIFY(validate.waitForFinished());
        QCOMPARE(validate.readAll() + validate.readAllStandardError(), QByteArray());
        QCOMPARE(validate.exitCode(), 0);
        const QString entry = QString::fromUtf8(testsupport::readBytes(path));
        QVERIFY2(entry.contains("\nExec=/usr/bin/aobaroku --remind --data \"" + m_root.path() +
                                "/my \\\\\"garden\\\\\" 100%%\"\n"),
                 qPrintable(entry));
        QVERIFY(SetRemindAtLogin(false, "/usr/bin/aobaroku", folder).isEmpty());
        QVERIFY(!QFile::exists(path));
        QVERIFY(!RemindEntryWritten());
    }
};

QTEST_MAIN(RemindTest)
#include "remind_test.moc"
