#pragma once
// Watches the link for the end of one request: its reply, an error reply, silence or a lost connection.

#include "DeviceLink.h"
#include "OpResult.h"

#include <QObject>
#include <QTimer>

#include <functional>

class ReplyWaiter : public QObject {
    Q_OBJECT
public:
    // Any reply except the unasked service-mode ones (0x00, 0x10, 0xFD) ends the wait when `code` is kAnyReply.
    static constexpr int kAnyReply = -1;

    // Starts watching at once, so create it before the request is sent. The waiter keeps its own
    // timer as well (writes are sent without the link's reply timer).
    ReplyWaiter(DeviceLink &link, int code, int timeoutMs = DeviceLink::kReplyTimeoutMs, QObject *parent = nullptr);

    bool finished() const { return finished_; }
    const OpResult &result() const { return result_; }
    // Runs a local event loop until the request has ended (for callers without one of their own,
    // such as the command-line tool); returns the result.
    OpResult wait();
    // Ends the wait from outside (the request could not be sent, the user cancelled).
    void finish(const OpResult &result);

    // One request and its end: watches for `code`, calls `send` (false: the request could not be
    // written, which ends as NotSent) and calls `done` once, from the event loop, when it ended.
    static void run(DeviceLink &link, int code, const std::function<bool()> &send,
                    std::function<void(const OpResult &)> done, int timeoutMs = DeviceLink::kReplyTimeoutMs);

signals:
    void ended(const OpResult &result);

private:
    DeviceLink &link_;
    int code_;
    QTimer timer_;
    bool finished_ = false;
    OpResult result_;
};

// Watches the link for the end of a chain (articles, cashiers, logo blocks, the memory dump).
class ChainWaiter : public QObject {
    Q_OBJECT
public:
    ChainWaiter(DeviceLink &link, DeviceLink::Chain chain, QObject *parent = nullptr);

    bool finished() const { return finished_; }
    const OpResult &result() const { return result_; }
    OpResult wait();
    void finish(const OpResult &result);

    // The result for a chain that ended as `how`; `errorText` is the device's error, when it was one.
    static OpResult resultFor(DeviceLink::ChainEnd how, const QString &errorText);

signals:
    void ended(const OpResult &result);

private:
    DeviceLink &link_;
    DeviceLink::Chain chain_;
    QString lastError_;
    bool finished_ = false;
    OpResult result_;
};
