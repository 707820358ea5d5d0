#pragma once
// Watches the link for the device's verdict on a long request (login, self-test).

#include "OpWaiter.h"

// A long reply (0x20 or 0x24) accepts with a result byte other than 0 and refuses with 0; the
// service-mode reply 0x00 accepts as well. An error reply (0xF5), the not-zeroed or wrong-model reply
// (0xFD), silence for `timeoutMs` and a lost connection end the wait as what they are.
class LongReplyWaiter : public OpWaiter {
    Q_OBJECT
public:
    // Starts watching at once, so create it before the request is written.
    LongReplyWaiter(DeviceLink &link, int timeoutMs, QObject *parent = nullptr);
};
