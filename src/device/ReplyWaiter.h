#pragma once
// Watches the link for the end of one request: its reply, an error reply, silence or a lost connection.

#include "OpWaiter.h"

#include <functional>

class ReplyWaiter : public OpWaiter {
    Q_OBJECT
public:
    // Any reply except the unasked service-mode ones (0x00, 0x10, 0xFD) ends the wait when `code` is kAnyReply.
    static constexpr int kAnyReply = -1;

    // Starts watching at once, so create it before the request is sent. The waiter keeps its own
    // timer as well (writes are sent without the link's reply timer).
    ReplyWaiter(DeviceLink &link, int code, int timeoutMs = DeviceLink::kReplyTimeoutMs, QObject *parent = nullptr);

    // One request and its end: watches for `code`, calls `send` (false: the request could not be
    // written, which ends as NotSent) and calls `done` once, from the event loop, when it ended.
    static void run(DeviceLink &link, int code, const std::function<bool()> &send,
                    std::function<void(const OpResult &)> done, int timeoutMs = DeviceLink::kReplyTimeoutMs);

private:
    int code_;
};

// Watches the link for the end of a chain (articles, cashiers, logo blocks, the memory dump).
class ChainWaiter : public OpWaiter {
    Q_OBJECT
public:
    ChainWaiter(DeviceLink &link, DeviceLink::Chain chain, QObject *parent = nullptr);

    // The result for a chain that ended as `how`; `errorText` is the device's error, when it was one.
    static OpResult resultFor(DeviceLink::ChainEnd how, const QString &errorText);

private:
    DeviceLink::Chain chain_;
    QString lastError_;
};
