#pragma once

#include <QByteArray>
#include <QHash>
#include <QLocalServer>
#include <QString>
#include <functional>

class QLocalSocket;
class QWidget;

// What a later start may ask of the running program.
inline const QByteArray kRaiseMessage = QByteArrayLiteral("raise");

// The one channel from a later start to the program already running for the
// same user and data folder: a local socket in $XDG_RUNTIME_DIR, named after
// the data folder. A message is one line of ASCII naming what to do, such as
// "raise"; the running program answers one line, "ok" once it has done it and
// "unknown" for a message it has no handler for. Each feature that needs the
// running program adds its message and handler to the table.
class InstanceChannel : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void()>;

    explicit InstanceChannel(const QString& dataFolder, QObject* parent = nullptr);
    ~InstanceChannel() override;

    void handle(const QByteArray& message, Handler handler);
    // Starts taking messages. Only the holder of the data folder's lock calls
    // it, so a socket left by a program that was killed is cleared first.
    // False when the channel cannot be opened: the program runs on without it.
    bool listen();

    // Where the channel of a data folder lies.
    static QString socketPath(const QString& dataFolder);
    // From a later start: sends one message and waits up to waitMs for each
    // step. True when the running program answered that it was carried out.
    static bool send(const QString& dataFolder, const QByteArray& message, int waitMs = 3000);

private:
    void takeConnection();
    void readMessage(QLocalSocket* socket);

    QString m_path;
    QLocalServer m_server;
    QHash<QByteArray, Handler> m_handlers;
};

// Brings the window to the front: shown, no longer minimised, raised and
// active, with any dialog open over it in front of it again.
void raiseWindow(QWidget& window);
