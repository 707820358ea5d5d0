#include "FaultInjector.h"

QByteArray FaultInjector::garbage()
{
    // A small linear congruential generator keeps runs repeatable.
    auto next = [this] {
        seed_ = seed_ * 1664525u + 1013904223u;
        return seed_ >> 24;
    };
    const int n = int(next() % 8) + 1;
    QByteArray g;
    for (int i = 0; i < n; ++i) {
        uint8_t b = uint8_t(next());
        if (b == 0x5F || b == 0xAA)
            b ^= 0x01;
        g.append(char(b));
    }
    return g;
}

QByteArray FaultInjector::apply(const QByteArray &reply)
{
    const quint64 n = ++requests_;
    if (silentAfter_ >= 0 && n > quint64(silentAfter_)) {
        ++silencedReplies_;
        return {};
    }
    if (dropEvery_ > 0 && n % quint64(dropEvery_) == 0) {
        ++droppedReplies_;
        return {};
    }
    if (garbageEvery_ > 0 && n % quint64(garbageEvery_) == 0) {
        const QByteArray g = garbage();
        ++garbageReplies_;
        garbageBytes_ += quint64(g.size());
        return g + reply;
    }
    return reply;
}
