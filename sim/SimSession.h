#pragma once
// One conversation with a simulated device over a byte stream: framing, line-speed pacing, faults.

#include "SimFrameReader.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

#include <functional>

class FaultInjector;
class SimulatedDevice;

class SimSession : public QObject {
    Q_OBJECT
public:
    using Writer = std::function<void(const QByteArray &bytes)>;

    // `writer` sends reply bytes to the other end; `faults` may be null (no faults).
    SimSession(SimulatedDevice &device, Writer writer, FaultInjector *faults = nullptr, QObject *parent = nullptr);

    // Line speed in bits per second (10 bits per byte); 0 passes bytes through at once.
    // Paced, a request counts as received only after its bytes' line time, and reply bytes
    // leave one byte time apart.
    void setBaud(int baud);
    int baud() const { return baud_; }

    // Bytes from the other end.
    void input(const QByteArray &bytes);
    // Forgets everything in flight (the other end went away).
    void reset();

    // Reply bytes not yet sent because of pacing.
    qsizetype queuedOutput() const { return txQueue_.size(); }

signals:
    // A complete request was answered; `sent` is what went (or goes) on the wire for it.
    void requestAnswered(const QByteArray &request, const QByteArray &sent);

private:
    struct Chunk {
        qint64 dueNs;
        QByteArray bytes;
    };
    void deliver(const QByteArray &bytes);
    void send(const QByteArray &bytes);
    void tick();
    void schedule();
    qint64 exactDueNs() const;
    void armTimer(qint64 waitNs);
    qint64 byteNs() const;
    qint64 now() const { return clock_.nsecsElapsed(); }

    SimulatedDevice &device_;
    Writer writer_;
    FaultInjector *faults_;
    SimFrameReader reader_;
    int baud_ = 0;
    QElapsedTimer clock_;
    QTimer timer_;
    QList<Chunk> rxQueue_;
    qint64 rxFreeNs_ = 0; // when the receive line has carried every byte queued so far
    QByteArray txQueue_;
    qint64 txNextNs_ = 0; // when the next queued reply byte has crossed the line
    qint64 txLineFreeNs_ = 0;
    bool inTick_ = false; // when the last reply byte sent finished crossing it
};
