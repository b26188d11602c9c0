#include "app/instance_channel.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QWidget>
#include <unistd.h>

namespace {

// A message is a word; anything longer is not one of ours.
constexpr qsizetype kLongestLine = 256;
const QByteArray kDone = QByteArrayLiteral("ok\n");
const QByteArray kUnknown = QByteArrayLiteral("unknown\n");

// The same folder reached through a link or with a trailing slash is the same notebook.
QString canonicalFolder(const QString& dataFolder) {
    const QString canonical = QFileInfo(dataFolder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(dataFolder).absoluteFilePath()) : canonical;
}

} // namespace

InstanceChannel::InstanceChannel(const QString& dataFolder, QObject* parent)
    : QObject(parent), m_path(socketPath(dataFolder)) {
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &InstanceChannel::takeConnection);
}

InstanceChannel::~InstanceChannel() {
    m_server.close();
}

QString InstanceChannel::socketPath(const QString& dataFolder) {
    const QByteArray hash =
        QCryptographicHash::hash(canonicalFolder(dataFolder).toUtf8(), QCryptographicHash::Sha256)
            .toHex()
            .left(16);
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime + QStringLiteral("/aobaroku-") + QString::fromLatin1(hash) + QStringLiteral(".socket");
    return QDir::tempPath() + QStringLiteral("/aobaroku-%1-").arg(::getuid()) + QString::fromLatin1(hash) +
           QStringLiteral(".socket");
}

void InstanceChannel::handle(const QByteArray& message, Handler handler) {
    m_handlers.insert(message, std::move(handler));
}

bool InstanceChannel::listen() {
    if (m_server.listen(m_path))
        return true;
    if (m_server.serverError() != QAbstractSocket::AddressInUseError)
        return false;
    QLocalServer::removeServer(m_path);
    return m_server.listen(m_path);
}

void InstanceChannel::takeConnection() {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readMessage(socket); });
        if (socket->bytesAvailable() > 0)
            readMessage(socket);
    }
}

// One message per connection: the answer is written and the connection ends.
void InstanceChannel::readMessage(QLocalSocket* socket) {
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kLongestLine)
            socket->abort();
        return;
    }
    const QByteArray line = socket->readLine(kLongestLine + 1).trimmed();
    const auto found = m_handlers.constFind(line);
    if (found != m_handlers.cend())
        found.value()();
    socket->write(found != m_handlers.cend() ? kDone : kUnknown);
    socket->flush();
    socket->disconnectFromServer();
}

bool InstanceChannel::send(const QString& dataFolder, const QByteArray& message, int waitMs) {
    QLocalSocket socket;
    socket.connectToServer(socketPath(dataFolder));
    if (!socket.waitForConnected(waitMs))
        return false;
    socket.write(message + '\n');
    if (!socket.waitForBytesWritten(waitMs))
        return false;
    QByteArray answer;
    while (!answer.contains('\n') && answer.size() <= kLongestLine && socket.waitForReadyRead(waitMs))
        answer += socket.readAll();
    return answer == kDone;
}

void raiseWindow(QWidget& window) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
    if (QWidget* dialog = QApplication::activeModalWidget(); dialog && dialog != &window) {
        dialog->raise();
        dialog->activateWindow();
    }
}
