#include "SimServer.h"

#include "SimSession.h"
#include "SimulatedDevice.h"

SimServer::SimServer(SimulatedDevice &device, QObject *parent) : QObject(parent), device_(device)
{
    connect(&server_, &QTcpServer::newConnection, this, &SimServer::onNewConnection);
}

SimServer::~SimServer()
{
    if (client_)
        client_->abort();
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
        s->setParent(this);
        s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        QPointer<QTcpSocket> guard(s);
        auto *session = new SimSession(
            device_,
            [guard](const QByteArray &bytes) {
                if (guard && guard->state() == QAbstractSocket::ConnectedState)
                    guard->write(bytes);
            },
            faults_, s);
        session->setBaud(baud_);
        connect(session, &SimSession::requestAnswered, this, &SimServer::requestAnswered);
        connect(s, &QTcpSocket::readyRead, session, [this, s, session] {
            const QByteArray in = s->readAll();
            emit requestBytes(in);
            session->input(in);
        });
        connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
    }
}
