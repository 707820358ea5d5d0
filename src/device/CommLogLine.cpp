#include "CommLogLine.h"

#include "CommandNames.h"
#include "DeviceErrors.h"
#include "UiText.h"

#include <QDateTime>

namespace {
uint8_t at(const QByteArray &frame, int i)
{
    return i < frame.size() ? uint8_t(frame.at(i)) : 0;
}

int number16(const QByteArray &frame, int i)
{
    return at(frame, i) | (at(frame, i + 1) << 8);
}

// Replies 0xF5 and 0xFD carry the model identifier 04 01 in their first two data bytes.
bool ourModel(const QByteArray &frame)
{
    return at(frame, 3) == 0x04 && at(frame, 4) == 0x01;
}

QString shortMeaning(const QByteArray &frame, bool sent)
{
    const uint8_t code = at(frame, 1);
    const QString name = CommandNames::shortFrame(code, sent);
    // Data start at the fourth byte; a frame too short for its field says only its name.
    switch (code) {
    case 0x80:
        if (frame.size() >= 6)
            return QStringLiteral("%1 %2").arg(name).arg(number16(frame, 3));
        break;
    case 0x85:
        if (frame.size() >= 6)
            return sent ? QStringLiteral("%1 %2").arg(name).arg(number16(frame, 3))
                        : QStringLiteral("%1, next %2").arg(name).arg(number16(frame, 3));
        break;
    case 0xF5:
        if (!sent && frame.size() >= 7)
            return name + QStringLiteral(": ") +
                   (ourModel(frame) ? DeviceErrorCodeText(at(frame, 5)) : UiText(Txt::WrongModel));
        break;
    case 0xFD:
        if (!sent && frame.size() >= 6)
            return name + QStringLiteral(": ") + (ourModel(frame) ? UiText(Txt::NotZeroed) : UiText(Txt::WrongModel));
        break;
    default:
        break;
    }
    return name;
}

QString longMeaning(const QByteArray &frame, bool sent)
{
    const uint8_t command = at(frame, 7);
    const QString name = CommandNames::longFrame(command, sent);
    if (sent || (command != 0x20 && command != 0x24) || frame.size() < 15)
        return name;
    // Result byte 0: the device reports the errors of its status word.
    if (at(frame, 9) != 0)
        return name + QStringLiteral(": ok");
    return name + QStringLiteral(": Грешка! ") +
           DescribeDeviceError(at(frame, 11), at(frame, 12), at(frame, 13), at(frame, 14));
}
} // namespace

namespace CommLogLine {
QString describe(const QByteArray &frame, bool sent)
{
    if (frame.size() >= 8 && uint8_t(frame.at(0)) == 0xAA)
        return longMeaning(frame, sent);
    if (frame.size() >= 2 && uint8_t(frame.at(0)) == 0x5F)
        return shortMeaning(frame, sent);
    return CommandNames::forFrame(frame, sent);
}

QString describeDiscard(DeviceLink::Discard why)
{
    switch (why) {
    case DeviceLink::Discard::NoStartByte:
        return QStringLiteral("discarded: no start byte");
    case DeviceLink::Discard::TooLong:
        return QStringLiteral("discarded: frame too long");
    case DeviceLink::Discard::Cancelled:
        return QStringLiteral("discarded: after cancel");
    case DeviceLink::Discard::Dropped:
        break;
    }
    return QStringLiteral("discarded: incomplete frame");
}

QByteArray format(const CommLogEntry &entry)
{
    const QString time = QDateTime::fromMSecsSinceEpoch(entry.msecs).time().toString(QStringLiteral("HH:mm:ss.zzz"));
    const QString what = entry.kind == CommLogEntry::Kind::Discarded
                             ? describeDiscard(entry.why)
                             : describe(entry.bytes, entry.kind == CommLogEntry::Kind::Sent);
    return time.toLatin1() + (entry.incoming() ? " <- " : " -> ") + entry.bytes.toHex(' ') + "  (" + what.toUtf8() +
           ")\n";
}
} // namespace CommLogLine
