#pragma once
// Base of the watchers that turn the link's signals into the one result of a request or chain.

#include "DeviceLink.h"
#include "OpResult.h"

#include <QObject>
#include <QTimer>

class OpWaiter : public QObject {
    Q_OBJECT
public:
    bool finished() const { return finished_; }
    const OpResult &result() const { return result_; }
    // Runs a local event loop until the wait has ended (for callers without one of their own, such
    // as the command-line tool); returns the result.
    OpResult wait();
    // Ends the wait (once; later calls do nothing): stops watching and emits ended.
    void finish(const OpResult &result);

signals:
    void ended(const OpResult &result);

protected:
    OpWaiter(DeviceLink &link, QObject *parent);
    // Ends as NoAnswer when nothing ended the wait within `timeoutMs`.
    void startTimeout(int timeoutMs);
    // Ends as DeviceError on an error reply (with the text the user was shown), and as
    // ConnectionLost when the transport goes away.
    void endOnErrorReplyOrLoss();

    DeviceLink &link_;

private:
    QTimer timer_;
    bool finished_ = false;
    OpResult result_;
};
