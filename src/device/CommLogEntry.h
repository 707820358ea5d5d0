#pragma once
// One line of the communication log: a frame sent, a reply received, or received bytes thrown away.

#include "DeviceLink.h"

#include <QByteArray>
#include <QtGlobal>

struct CommLogEntry {
    enum class Kind : quint8 { Sent, Received, Discarded };

    qint64 msecs = 0; // local wall-clock time, milliseconds since the epoch
    Kind kind = Kind::Sent;
    DeviceLink::Discard why = DeviceLink::Discard::NoStartByte; // for Discarded only
    QByteArray bytes;

    // Received or discarded: the bytes came from the device.
    bool incoming() const { return kind != Kind::Sent; }
};
