#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace {

constexpr quint32 HandOverMagic = 0x4b4c5631; // "KLV1"
constexpr int WaitMs = 5000;                  // a running window answers within this
constexpr char Taken = '1';

QByteArray handOverMessage(const QStringList &files)
{
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << HandOverMagic << files;
    return message;
}

} // namespace

QString SingleInstanceSocketPath(const QString &configFolder)
{
    const QByteArray folder = QDir::cleanPath(QDir(configFolder).absolutePath()).toUtf8();
    const QString hash = QString::fromLatin1(QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(16));
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    return runtime + QStringLiteral("/kelvane-") + hash;
}

SingleInstance::SingleInstance(QString socketPath, QObject *parent) : QObject(parent), m_socketPath(std::move(socketPath))
{
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Outcome SingleInstance::handOverOrListen(const QStringList &files)
{
    return start(files, Mode::HandOver);
}

SingleInstance::Outcome SingleInstance::listenUnlessRunning() { return start({}, Mode::OwnWindow); }

SingleInstance::Outcome SingleInstance::start(const QStringList &files, Mode mode)
{
    QLockFile lock(m_socketPath + QStringLiteral(".lock"));
    const bool locked = lock.tryLock(WaitMs);
    if (mode == Mode::OwnWindow && someoneListens())
        return Outcome::AnotherWindow;
    if (mode == Mode::HandOver && handOver(files))
        return Outcome::HandedOver;
    if (!locked) {
        m_problem = QStringLiteral("the lock %1 was not granted").arg(lock.fileName());
        return Outcome::Alone;
    }
    return listen() ? Outcome::Listening : Outcome::Alone;
}

bool SingleInstance::someoneListens()
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    return socket.waitForConnected(WaitMs);
}

// True when a running window answered that it took the files.
bool SingleInstance::handOver(const QStringList &files)
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(WaitMs))
        return false;
    socket.write(handOverMessage(files));
    if (!socket.waitForBytesWritten(WaitMs))
        return false;
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(WaitMs))
            return false;
    }
    return socket.read(1) == QByteArray(1, Taken);
}

// Nobody answered: a socket left by a program that ended abruptly goes, and this one listens.
bool SingleInstance::listen()
{
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(m_socketPath);
    if (!m_server->listen(m_socketPath)) {
        m_problem = m_server->errorString();
        m_server.reset();
        return false;
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, &SingleInstance::receive);
    return true;
}

// Each connection sends one message; it is answered once whole. Anything else is dropped.
void SingleInstance::receive()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            QDataStream in(socket);
            in.startTransaction();
            quint32 magic = 0;
            QStringList files;
            in >> magic >> files;
            if (!in.commitTransaction())
                return; // wait for the rest
            if (magic != HandOverMagic) {
                socket->abort();
                return;
            }
            socket->write(QByteArray(1, Taken));
            socket->flush();
            socket->disconnectFromServer();
            Q_EMIT filesHandedOver(files);
        });
    }
}
