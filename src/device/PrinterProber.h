#pragma once
// Looks for the fiscal printer on serial ports: one harmless read at 57600 baud per port, a short
// wait, any valid reply (a refusal too) counts. Never writes data, never logs in, and closes every
// port it opened, with its line settings as they were.

#include "ProbeResult.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

class DeviceLink;
class SerialTransport;

class PrinterProber : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultTimeoutMs = 500;
    // The request: read fiscal data (0x20), which changes nothing on the device.
    static constexpr uint8_t kProbeCode = 0x20;

    explicit PrinterProber(QObject *parent = nullptr);
    ~PrinterProber() override;

    // COM1..COM4 and every port the system lists, each once (by its device path).
    static QStringList machinePorts();

    void setTimeout(int ms) { timeoutMs_ = ms; }
    int timeout() const { return timeoutMs_; }
    // Probes `ports` one after another from the event loop; `portDone` for each, then `finished`.
    void start(const QStringList &ports);
    // Stops after closing the port being probed; `finished` follows.
    void abort();
    bool running() const { return running_; }
    const QList<ProbeResult> &results() const { return results_; }

signals:
    // A port is about to be probed (n counts from 1); `link` carries its one request.
    void probing(const QString &port, int n, int total, DeviceLink &link);
    void portDone(const ProbeResult &result);
    void finished();

private:
    void next();
    // The reply (or the silence) is in: close the port and record what it said.
    void endPort();
    static void decodeReply(ProbeResult &result);

    int timeoutMs_ = kDefaultTimeoutMs;
    QStringList ports_;
    int index_ = 0;
    bool running_ = false;
    bool aborted_ = false;
    QList<ProbeResult> results_;
    QTimer timer_;
    // The port being probed and its own link (nothing of the window's link is touched).
    struct Current;
    Current *current_ = nullptr;
};
