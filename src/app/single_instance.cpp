#include "single_instance.h"

#include "file_identity.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

namespace {

constexpr int kConnectTimeoutMs = 1000;
const QByteArray kActivate = QByteArrayLiteral("activate\n");

} // namespace

SingleInstance::SingleInstance(const QString& alarmFilePath, QObject* parent)
    : QObject(parent)
    , m_name(serverName(alarmFilePath))
{
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::answer);
}

QString SingleInstance::serverName(const QString& alarmFilePath)
{
    const QByteArray hash = QCryptographicHash::hash(FileIdentity(alarmFilePath).toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return QStringLiteral("NeloClock-") + QString::fromLatin1(hash);
}

bool SingleInstance::claim()
{
    if (askRunningCopy())
        return false;
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    if (m_server.listen(m_name))
        return true;
    // Two copies started at the same moment: the other one may have won the
    // name between our question and our listen.
    if (askRunningCopy())
        return false;
    // Nobody answers on the name: a socket left by a copy that crashed.
    QLocalServer::removeServer(m_name);
    return m_server.listen(m_name);
}

bool SingleInstance::askRunningCopy()
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write(kActivate);
    socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(kConnectTimeoutMs);
    return true;
}

void SingleInstance::answer()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A connection is the request; what it carries does not matter.
        Q_EMIT activationRequested();
    }
}
