#pragma once
// TCP connection to the device (port 1024 by default), event-driven on the UI thread.

#include "Transport.h"

#include <QTcpSocket>

class TcpTransport : public Transport {
    Q_OBJECT
public:
    static constexpr quint16 kDefaultPort = 1024;
    static constexpr int kConnectTimeoutMs = 3000;

    explicit TcpTransport(QObject *parent = nullptr);
    ~TcpTransport() override;

    // Connects to "host" or "host:port" and waits at most the connect timeout; false with errorString().
    bool connectTo(const QString &address, int timeoutMs = kConnectTimeoutMs);

    // Why the last connectTo() failed.
    QString connectError() const { return connectError_; }

    bool isOpen() const override;
    bool write(const QByteArray &bytes) override;
    QString errorString() const override;
    void close() override;
    bool recogniseEachByte() const override { return true; }
    // "host:port" of the last connectTo().
    QString where() const override { return address_; }

    QTcpSocket &socket() { return socket_; }

private:
    // Reads everything the socket holds and hands it over.
    void drain();

    QTcpSocket socket_;
    QString error_;
    QString connectError_;
    QString address_;
    bool wasConnected_ = false; // connected and not closed by us since
    bool closingHere_ = false;  // close() is running: the disconnect is ours, not the device's
};
