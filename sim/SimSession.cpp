#include "SimSession.h"

#include "FaultInjector.h"
#include "SimulatedDevice.h"

namespace {
constexpr qint64 kBitsPerByte = 10; // start bit, 8 data bits, stop bit
}

SimSession::SimSession(SimulatedDevice &device, Writer writer, FaultInjector *faults, QObject *parent)
    : QObject(parent), device_(device), writer_(std::move(writer)), faults_(faults)
{
    clock_.start();
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &SimSession::tick);
}

void SimSession::setBaud(int baud)
{
    baud_ = baud > 0 ? baud : 0;
}

qint64 SimSession::byteNs() const
{
    return baud_ > 0 ? kBitsPerByte * 1000000000LL / baud_ : 0;
}

void SimSession::input(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    if (baud_ == 0) {
        deliver(bytes);
        return;
    }
    const qint64 start = std::max(now(), rxFreeNs_);
    rxFreeNs_ = start + bytes.size() * byteNs();
    rxQueue_.append({rxFreeNs_, bytes});
    schedule();
}

void SimSession::reset()
{
    rxQueue_.clear();
    txQueue_.clear();
    reader_.clear();
    rxFreeNs_ = 0;
    txLineFreeNs_ = 0;
    timer_.stop();
}

void SimSession::deliver(const QByteArray &bytes)
{
    reader_.append(bytes);
    SimRequest request;
    while (reader_.take(request)) {
        const QByteArray reply = device_.answer(request);
        const QByteArray sent = faults_ ? faults_->apply(reply) : reply;
        emit requestAnswered(request.frame, sent);
        send(sent);
    }
}

void SimSession::send(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    if (baud_ == 0) {
        if (writer_)
            writer_(bytes);
        return;
    }
    if (txQueue_.isEmpty())
        txNextNs_ = std::max(txLineFreeNs_, now()) + byteNs();
    txQueue_.append(bytes);
    schedule();
}

void SimSession::tick()
{
    const qint64 t = now();
    while (!rxQueue_.isEmpty() && rxQueue_.first().dueNs <= t)
        deliver(rxQueue_.takeFirst().bytes);
    if (!txQueue_.isEmpty() && txNextNs_ <= t) {
        // Every byte that has finished its line time reaches the other end now.
        const qint64 n = std::min<qint64>(txQueue_.size(), (t - txNextNs_) / byteNs() + 1);
        const QByteArray out = txQueue_.left(n);
        txQueue_.remove(0, n);
        txLineFreeNs_ = txNextNs_ + (n - 1) * byteNs();
        txNextNs_ += n * byteNs();
        if (writer_)
            writer_(out);
    }
    schedule();
}

void SimSession::schedule()
{
    qint64 next = -1;
    if (!rxQueue_.isEmpty())
        next = rxQueue_.first().dueNs;
    if (!txQueue_.isEmpty())
        next = next < 0 ? txNextNs_ : std::min(next, txNextNs_);
    if (next < 0) {
        timer_.stop();
        return;
    }
    const qint64 waitMs = std::max<qint64>(0, (next - now() + 999999) / 1000000);
    timer_.start(int(std::min<qint64>(waitMs, 1000)));
}
