#include "SimSession.h"

#include "FaultInjector.h"
#include "SimulatedDevice.h"

#include <chrono>
#include <thread>

namespace {
constexpr qint64 kBitsPerByte = 10; // start bit, 8 data bits, stop bit
// The part of a wait slept rather than left to the event loop's millisecond timer.
constexpr qint64 kSleepNs = 2000000;
// The very end of a wait, spent watching the clock rather than sleeping.
constexpr qint64 kSpinNs = 200000;
} // namespace

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
    // Due times come from one ideal timeline and never drift with the timer's wake-ups. The event
    // loop's timer only has whole milliseconds and may wake up to a millisecond late, so it is
    // used for the coarse part of a wait; the moments the other end acts on (a request fully
    // received, the last byte of a reply sent) are reached by sleeping the final stretch here.
    // Rounding every wait to the millisecond instead added a millisecond or two per request.
    inTick_ = true;
    for (;;) {
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
        const qint64 target = exactDueNs();
        if (target < 0) {
            timer_.stop();
            break;
        }
        const qint64 wait = target - now();
        if (wait > kSleepNs) {
            armTimer(wait);
            break;
        }
        // A sleep may overrun by a good part of a millisecond on a busy machine: sleep all but
        // the last stretch, then watch the clock.
        if (wait > kSpinNs)
            std::this_thread::sleep_for(std::chrono::nanoseconds(wait - kSpinNs));
        while (now() < target) {
        }
    }
    inTick_ = false;
}

qint64 SimSession::exactDueNs() const
{
    qint64 due = -1;
    if (!rxQueue_.isEmpty())
        due = rxQueue_.first().dueNs;
    if (!txQueue_.isEmpty()) {
        const qint64 lastByte = txNextNs_ + (txQueue_.size() - 1) * byteNs();
        due = due < 0 ? lastByte : std::min(due, lastByte);
    }
    return due;
}

void SimSession::armTimer(qint64 waitNs)
{
    // Wake one to two milliseconds before the exact moment (tick() sleeps the rest), and meanwhile
    // about every millisecond to pass on reply bytes whose line time is over.
    qint64 waitMs = waitNs / 1000000 - 1;
    if (!txQueue_.isEmpty())
        waitMs = std::min(waitMs, std::max<qint64>(1, (txNextNs_ - now() + 999999) / 1000000));
    timer_.start(int(std::clamp<qint64>(waitMs, 0, 1000)));
}

void SimSession::schedule()
{
    // A pending wake-up comes no later than anything just queued needs; inside tick() the loop
    // picks the new work up itself.
    if (inTick_ || timer_.isActive())
        return;
    tick();
}
