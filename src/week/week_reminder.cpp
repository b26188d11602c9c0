#include "week/week_reminder.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>
#include <memory>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default");

QString openTasksOnly(const TYoteiRefList& tasks, const QString& heading, bool markup) {
    QStringList lines;
    for (const TYotei* task : tasks.items())
        if (!task->isDone())
            lines << QStringLiteral("・") + (markup ? task->name.toHtmlEscaped() : task->name) +
                         QStringLiteral("（") + task->WeekText().toHtmlEscaped() + QStringLiteral("）");
    if (lines.isEmpty())
        return QString();
    return heading + QLatin1Char('\n') + lines.join(QLatin1Char('\n'));
}

// Waits for the end of one notification and carries out its default action.
class NotificationWait : public QObject {
    Q_OBJECT
public:
    NotificationWait(uint id, QString dataFolder) : m_id(id), m_dataFolder(std::move(dataFolder)) {}
    QEventLoop loop;

public slots:
    void closed(uint id, uint) {
        if (id == m_id)
            loop.quit();
    }
    void invoked(uint id, const QString& action) {
        if (id != m_id || action != kDefaultAction)
            return;
        // A new start with --week hands the request to the program already
        // running, or opens the window on this week itself. It outlives this
        // process, so it must not write into streams that end with it (a
        // closed pipe would kill it before it shows anything).
        QProcess program;
        program.setProgram(QCoreApplication::applicationFilePath());
        program.setArguments({QStringLiteral("--week"), QStringLiteral("--data"), m_dataFolder});
        program.setStandardInputFile(QProcess::nullDevice());
        program.setStandardOutputFile(QProcess::nullDevice());
        program.setStandardErrorFile(QProcess::nullDevice());
        program.startDetached();
        loop.quit();
    }

private:
    uint m_id;
    QString m_dataFolder;
};

bool serverReadsMarkup(QDBusInterface& server) {
    const QDBusReply<QStringList> capabilities = server.call(QStringLiteral("GetCapabilities"));
    return capabilities.isValid() && capabilities.value().contains(QStringLiteral("body-markup"));
}

int notifyAndWait(const WeekTasks& week, const QString& dataFolder, QTextStream& err) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString none = QStringLiteral("通知を表示できません。デスクトップの通知サービスが見つかりません");
    if (!bus.isConnected()) {
        err << none << QStringLiteral("（セッションバスがありません）。") << Qt::endl;
        return 0;
    }
    QDBusInterface server(kService, kPath, kInterface, bus);
    const bool markup = serverReadsMarkup(server);
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral(AOBAROKU_APP_ID)}};
    const QDBusReply<uint> reply =
        server.call(QStringLiteral("Notify"), QStringLiteral("青葉録"), uint(0),
                    QStringLiteral(AOBAROKU_APP_ID), kReminderTitle, ReminderBody(week, markup),
                    QStringList{kDefaultAction, QStringLiteral("開く")}, hints, int(-1));
    if (!reply.isValid()) {
        err << none << QStringLiteral("（") << reply.error().message() << QStringLiteral("）。") << Qt::endl;
        return 0;
    }
    NotificationWait wait(reply.value(), dataFolder);
    bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), &wait,
                SLOT(closed(uint, uint)));
    bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), &wait,
                SLOT(invoked(uint, QString)));
    QTimer::singleShot(kReminderWaitMs, &wait.loop, &QEventLoop::quit);
    wait.loop.exec();
    return 0;
}

} // namespace

bool ReminderDue(const WeekTasks& week) {
    for (const TYotei* task : week.thisWeek.items())
        if (!task->isDone())
            return true;
    return week.past.count() > 0;
}

QString ReminderBody(const WeekTasks& week, bool markup) {
    QStringList parts;
    for (const QString& part : {openTasksOnly(week.thisWeek, QStringLiteral("今週"), markup),
                                openTasksOnly(week.past, QStringLiteral("過ぎてる（完了してない）"), markup)})
        if (!part.isEmpty())
            parts << part;
    return parts.join(QLatin1Char('\n'));
}

int remindCommand(const QString& dataFolder, const QDate& today, QTextStream&, QTextStream& err) {
    TYoteiList tasks;
    if (const int failed = ReadSchedule(dataFolder, tasks, err))
        return failed;
    const WeekTasks week = TasksOfWeek(tasks, today);
    if (!ReminderDue(week))
        return 0;
    // The command line is read before any application object exists; the bus needs one.
    std::unique_ptr<QCoreApplication> app;
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "aobaroku";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    return notifyAndWait(week, dataFolder, err);
}

#include "week_reminder.moc"
