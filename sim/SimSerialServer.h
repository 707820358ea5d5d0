#pragma once
// Serves a simulated device on a serial line: a pseudo-terminal it creates, or a real serial port.

#include <QByteArray>
#include <QObject>
#include <QString>

class FaultInjector;
class QSerialPort;
class QSocketNotifier;
class SimSession;
class SimulatedDevice;

class SimSerialServer : public QObject {
    Q_OBJECT
public:
    explicit SimSerialServer(SimulatedDevice &device, FaultInjector *faults = nullptr, QObject *parent = nullptr);
    ~SimSerialServer() override;

    // Creates a pseudo-terminal pair and serves on its master side; the tool opens slavePath().
    bool openPty();
    // Serves on a serial port (57600 8N1 unless a baud rate was set), DTR and RTS held off.
    bool openSerial(const QString &device);
    void close();

    QString slavePath() const { return slavePath_; }
    QString errorString() const { return error_; }
    SimSession &session() { return *session_; }
    // Line-speed pacing (10 bits per byte); 0 serves at full speed.
    void setBaud(int baud);

signals:
    void requestAnswered(const QByteArray &request, const QByteArray &sent);

private:
    void readPty();
    void writeOut(const QByteArray &bytes);
    void flushPty();

    SimulatedDevice &device_;
    SimSession *session_ = nullptr;
    int baud_ = 0;
    // Pseudo-terminal: the master is served, the slave is held open so that the line keeps its
    // raw settings and the master never sees a hang-up while the tool has the port closed.
    int master_ = -1;
    int slaveHold_ = -1;
    QString slavePath_;
    QSocketNotifier *readNotifier_ = nullptr;
    QSocketNotifier *writeNotifier_ = nullptr;
    QByteArray outPending_;
    QSerialPort *port_ = nullptr;
    QString error_;
};
