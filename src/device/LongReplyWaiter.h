#pragma once
// Watches the link for the device's verdict on a long request (login, self-test).

#include "DeviceLink.h"
#include "OpResult.h"

#include <QObject>
#include <QTimer>

// A long reply (0x20 or 0x24) accepts with a result byte other than 0 and refuses with 0; the
// service-mode reply 0x00 accepts as well. An error reply (0xF5), the not-zeroed or wrong-model reply
// (0xFD), silence for `timeoutMs` and a lost connection end the wait as what they are.
class LongReplyWaiter : public QObject {
    Q_OBJECT
public:
    // Starts watching at once, so create it before the request is written.
    LongReplyWaiter(DeviceLink &link, int timeoutMs, QObject *parent = nullptr);

    bool finished() const { return finished_; }
    const OpResult &result() const { return result_; }
    void finish(const OpResult &result);

signals:
    void ended(const OpResult &result);

private:
    DeviceLink &link_;
    QTimer timer_;
    bool finished_ = false;
    OpResult result_;
};
