#pragma once
// Spoils a simulated device's replies on purpose: dropped replies, leading garbage, a device gone silent.

#include <QByteArray>

#include <cstdint>

class FaultInjector {
public:
    // Every Nth reply is not sent (0: never).
    void setDropReplyEvery(int n) { dropEvery_ = n; }
    // Every Nth reply is preceded by a few garbage bytes (0: never).
    void setGarbageEvery(int n) { garbageEvery_ = n; }
    // After N requests nothing more is answered (-1: always answer; 0: never answer).
    void setSilentAfter(int n) { silentAfter_ = n; }

    int dropReplyEvery() const { return dropEvery_; }
    int garbageEvery() const { return garbageEvery_; }
    int silentAfter() const { return silentAfter_; }
    bool active() const { return dropEvery_ > 0 || garbageEvery_ > 0 || silentAfter_ >= 0; }

    // The bytes to send for the reply to the next request (counted from 1); empty when dropped.
    QByteArray apply(const QByteArray &reply);
    // Requests seen so far.
    quint64 requestCount() const { return requests_; }
    // What was actually spoiled so far: replies sent behind garbage and the garbage bytes in all,
    // replies dropped, and requests left unanswered because the device had gone silent.
    quint64 garbageReplies() const { return garbageReplies_; }
    quint64 garbageBytes() const { return garbageBytes_; }
    quint64 droppedReplies() const { return droppedReplies_; }
    quint64 silencedReplies() const { return silencedReplies_; }

    // Garbage of 1 to 8 bytes; it never holds a frame's start byte (0x5F or 0xAA), so a receiver
    // that drops stray bytes finds the reply behind it intact.
    QByteArray garbage();

private:
    int dropEvery_ = 0;
    int garbageEvery_ = 0;
    int silentAfter_ = -1;
    quint64 requests_ = 0;
    quint64 garbageReplies_ = 0;
    quint64 garbageBytes_ = 0;
    quint64 droppedReplies_ = 0;
    quint64 silencedReplies_ = 0;
    uint32_t seed_ = 0x2545F491u;
};
