#pragma once
// Serves a simulated device to TCP clients (one at a time), on the UI thread's event loop.

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

class SimulatedDevice;

class SimServer : public QObject {
    Q_OBJECT
public:
    explicit SimServer(SimulatedDevice &device, QObject *parent = nullptr);

    // Port 0 picks a free port.
    bool listen(const QHostAddress &address, quint16 port = 0);
    quint16 port() const { return server_.serverPort(); }
    QString address() const;
    // Drops the current client connection (as a device that goes away would).
    void dropClient();

    QTcpServer &server() { return server_; }

signals:
    void requestBytes(const QByteArray &bytes);

private:
    void onNewConnection();
    void onReadyRead();

    SimulatedDevice &device_;
    QTcpServer server_;
    QPointer<QTcpSocket> client_;
};
