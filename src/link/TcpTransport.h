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

    // Connects to "host" or "host:port" and waits at most the connect timeout; false with errorString().
    bool connectTo(const QString &address, int timeoutMs = kConnectTimeoutMs);

    bool isOpen() const override;
    bool write(const QByteArray &bytes) override;
    QString errorString() const override;
    void close() override;
    bool recogniseEachByte() const override { return true; }

    QTcpSocket &socket() { return socket_; }

private:
    QTcpSocket socket_;
    QString error_;
    bool closing_ = false; // our own close: not a dropped connection
    bool dropped_ = false; // the other end closed the connection or it failed
};
