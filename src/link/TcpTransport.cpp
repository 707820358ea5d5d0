#include "TcpTransport.h"

#include "ToolText.h"

#include <QEventLoop>
#include <QHostAddress>
#include <QTimer>

TcpTransport::TcpTransport(QObject *parent) : Transport(parent)
{
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(&socket_, &QTcpSocket::readyRead, this, &TcpTransport::drain);
    connect(&socket_, &QTcpSocket::disconnected, this, [this] {
        if (closingHere_)
            return;
        // What the device sent before it went away is still handed over, and first.
        drain();
        deliverClosed();
    });
}

TcpTransport::~TcpTransport()
{
    // The socket's own end is no news to anyone.
    disconnect(&socket_, nullptr, this, nullptr);
}

void TcpTransport::drain()
{
    if (socket_.isOpen())
        deliver(socket_.readAll());
}

bool TcpTransport::connectTo(const QString &address, int timeoutMs)
{
    QString host = address.trimmed();
    quint16 port = kDefaultPort;
    const qsizetype colon = host.lastIndexOf(':');
    if (colon > 0 && host.count(':') == 1) {
        bool ok = false;
        const uint p = host.mid(colon + 1).toUInt(&ok);
        if (!ok || p == 0 || p > 65535) {
            connectError_ = QStringLiteral("Invalid port number in \"%1\"").arg(address);
            return false;
        }
        port = quint16(p);
        host = host.left(colon);
    }
    close();
    error_.clear();
    connectError_.clear();
    address_ = host + QLatin1Char(':') + QString::number(port);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(&socket_, &QTcpSocket::connected, &loop, &QEventLoop::quit);
    connect(&socket_, &QTcpSocket::errorOccurred, &loop, &QEventLoop::quit);
    socket_.connectToHost(host, port);
    timer.start(timeoutMs);
    if (socket_.state() != QAbstractSocket::ConnectedState && socket_.state() != QAbstractSocket::UnconnectedState)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    disconnect(&socket_, &QTcpSocket::connected, &loop, nullptr);
    disconnect(&socket_, &QTcpSocket::errorOccurred, &loop, nullptr);
    if (socket_.state() == QAbstractSocket::ConnectedState) {
        wasConnected_ = true;
        return true;
    }
    // An error ends the wait early; a wait that ran out means the connect timed out. The socket's
    // own words come first, then which address was tried and what to check.
    if (!timer.isActive())
        connectError_ = QStringLiteral("Connection timed out\n") + ToolText::tcpTimedOut(host, port, timeoutMs);
    else if (socket_.error() == QAbstractSocket::ConnectionRefusedError)
        connectError_ = socket_.errorString() + QLatin1Char('\n') + ToolText::tcpRefused(host, port);
    else if (socket_.error() == QAbstractSocket::HostNotFoundError)
        connectError_ = socket_.errorString() + QLatin1Char('\n') + ToolText::tcpHostNotFound(host);
    else
        connectError_ = socket_.errorString() + QLatin1Char('\n') + ToolText::tcpNotReached(host, port);
    socket_.abort();
    return false;
}

bool TcpTransport::isOpen() const
{
    return socket_.state() == QAbstractSocket::ConnectedState;
}

bool TcpTransport::write(const QByteArray &bytes)
{
    if (!isOpen())
        return false;
    if (socket_.write(bytes) != bytes.size()) {
        error_ = socket_.errorString();
        return false;
    }
    socket_.flush();
    return true;
}

QString TcpTransport::errorString() const
{
    if (isOpen())
        return error_;
    // Connected before and not closed by us: the other end went away.
    if (wasConnected_)
        return ToolText::ConnectionLost();
    return ToolText::ConnectionNotOpen();
}

void TcpTransport::close()
{
    wasConnected_ = false;
    closingHere_ = true;
    socket_.disconnectFromHost();
    if (socket_.state() != QAbstractSocket::UnconnectedState)
        socket_.abort();
    closingHere_ = false;
    discardDeliveries();
}
