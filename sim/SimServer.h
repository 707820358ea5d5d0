#pragma once
// Serves a simulated device to TCP clients (one at a time), on the UI thread's event loop.

#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

class FaultInjector;
class SimSession;
class SimulatedDevice;

class SimServer : public QObject {
    Q_OBJECT
public:
    explicit SimServer(SimulatedDevice &device, QObject *parent = nullptr);
    ~SimServer() override;

    // Port 0 picks a free port.
    bool listen(const QHostAddress &address, quint16 port = 0);
    quint16 port() const { return server_.serverPort(); }
    QString address() const;
    // Drops the current client connection (as a device that goes away would).
    void dropClient();
    bool hasClient() const { return client_ && client_->state() == QAbstractSocket::ConnectedState; }

    // Line-speed pacing of later connections (0: none) and faults shared by every connection.
    void setBaud(int baud) { baud_ = baud; }
    void setFaults(FaultInjector *faults) { faults_ = faults; }

    QTcpServer &server() { return server_; }

signals:
    void requestBytes(const QByteArray &bytes);
    // A complete request was answered with `sent` (empty when a fault swallowed the reply).
    void requestAnswered(const QByteArray &request, const QByteArray &sent);

private:
    void onNewConnection();

    SimulatedDevice &device_;
    QTcpServer server_;
    QPointer<QTcpSocket> client_;
    FaultInjector *faults_ = nullptr;
    int baud_ = 0;
};
