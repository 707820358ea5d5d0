#pragma once
// The text of a communication-log line, the same in the window, its saved file and quorvel-cli --log:
// "08:04:11.648 -> 5f 70 00 0d  (read tax groups)".

#include "CommLogEntry.h"

#include <QByteArray>
#include <QString>

namespace CommLogLine {
// Time with milliseconds, direction ("->" sent, "<-" received), the bytes in hex and, in
// parentheses, what they are; ends with a newline.
QByteArray format(const CommLogEntry &entry);
// What a frame is: the command's name and, where the frame says more, its meaning: the device's
// error text, the article number of a chain step ("read article 1234", "error: Погрешан параметар").
QString describe(const QByteArray &frame, bool sent);
// What thrown-away bytes were ("discarded: no start byte").
QString describeDiscard(DeviceLink::Discard why);
} // namespace CommLogLine
