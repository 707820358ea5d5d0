#pragma once
// Short English names of the device's commands and replies, for frame logs (the command-line
// tool's --log, the communication log).

#include <QByteArray>
#include <QString>

#include <cstdint>

namespace CommandNames {
// The name of a short frame's code as a request (`request` true) or as a reply; "unknown" when
// the code is none of the device's.
QString shortFrame(uint8_t code, bool request);
// The name of a long frame's command byte (requests: login, self-tests; replies 0x20 and 0x24).
QString longFrame(uint8_t command, bool request);
// The name of a whole frame as it went out or came in: short or long by its start byte.
QString forFrame(const QByteArray &frame, bool request);
} // namespace CommandNames
