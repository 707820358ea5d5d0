#include "SimServer.h"

#include "SimulatedDevice.h"

SimServer::SimServer(SimulatedDevice &device, QObject *parent) : QObject(parent), device_(device)
{
    connect(&server_, &QTcpServer::newConnection, this, &SimServer::onNewConnection);
}

bool SimServer::listen(const QHostAddress &address, quint16 port)
{
    return server_.listen(address, port);
}

QString SimServer::address() const
{
    return server_.serverAddress().toString() + QLatin1Char(':') + QString::number(server_.serverPort());
}

void SimServer::dropClient()
{
    if (client_)
        client_->abort();
}

void SimServer::onNewConnection()
{
    while (QTcpSocket *s = server_.nextPendingConnection()) {
        if (client_) // a new client replaces the old one, as a device with one connection does
            client_->abort();
        client_ = s;
        s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(s, &QTcpSocket::readyRead, this, &SimServer::onReadyRead);
        connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
    }
}

void SimServer::onReadyRead()
{
    auto *s = qobject_cast<QTcpSocket *>(sender());
    if (!s)
        return;
    const QByteArray in = s->readAll();
    emit requestBytes(in);
    const QByteArray out = device_.feed(in);
    if (!out.isEmpty())
        s->write(out);
}
