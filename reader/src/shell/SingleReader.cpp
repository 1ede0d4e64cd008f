#include "SingleReader.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <unistd.h>

namespace
{

// A running reader answers at once; one that does not within this time is
// hung, and the new start opens a window of its own.
const int AnswerMilliseconds = 3000;
const QByteArray Taken = QByteArrayLiteral("ok\n");

} // namespace

SingleReader::SingleReader(const QString &settingsFile, QObject *parent)
    : QObject(parent), m_server(new QLocalServer(this))
{
    const QByteArray key =
        QByteArray::number(getuid()) + '\n' + QFileInfo(settingsFile).absolutePath().toUtf8();
    m_serverName = QStringLiteral("quirelle-") +
                   QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(20);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleReader::accept);
}

// One line, the file's name in UTF-8, and the answer that it was taken.
bool SingleReader::handOver(const QString &fileName) const
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(AnswerMilliseconds))
        return false;
    socket.write(fileName.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(AnswerMilliseconds))
        return false;
    QByteArray answer;
    while (!answer.endsWith('\n') && socket.waitForReadyRead(AnswerMilliseconds))
        answer += socket.readAll();
    return answer == Taken;
}

// A socket left by a reader that crashed answers nobody: it is removed. One
// that a reader started meanwhile answers: that reader is the one.
bool SingleReader::listen()
{
    if (m_server->listen(m_serverName))
        return true;
    if (m_server->serverError() != QAbstractSocket::AddressInUseError)
        return false;
    QLocalSocket probe;
    probe.connectToServer(m_serverName);
    if (probe.waitForConnected(AnswerMilliseconds))
        return false;
    QLocalServer::removeServer(m_serverName);
    return m_server->listen(m_serverName);
}

void SingleReader::accept()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        readRequest(socket);
    }
}

void SingleReader::readRequest(QLocalSocket *socket)
{
    if (!socket->canReadLine())
        return;
    const QString fileName = QString::fromUtf8(socket->readLine()).chopped(1);
    socket->write(Taken);
    socket->flush();
    emit handedOver(fileName);
}
