#pragma once
// How one device operation ended, in the words a caller (window, command-line tool, profile run) needs.

#include <QString>

struct OpResult {
    enum class Kind {
        Done,           // the device answered as asked
        DeviceError,    // the device refused (error reply 0xF5, or a long reply with result 0)
        NoAnswer,       // nothing came back in time
        ConnectionLost, // the transport went away
        Cancelled,      // broken off by the user (Cancel, Ctrl-C)
        Invalid,        // the data to send failed its checks; nothing was sent
        NotSent,        // the request could not be written (no connection, the link is busy)
    };
    Kind kind = Kind::Done;
    // Plain words for the user: the device's own error text, what was invalid, what could not be sent.
    QString message;

    bool ok() const { return kind == Kind::Done; }
    static OpResult done() { return {}; }
    static OpResult failed(Kind kind, const QString &message = {}) { return {kind, message}; }
};
