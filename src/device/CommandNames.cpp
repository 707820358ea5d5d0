#include "CommandNames.h"

namespace {
QString numbered(const char *what, int n)
{
    return QStringLiteral("%1 %2").arg(QLatin1String(what)).arg(n);
}

// Requests and the replies that answer them with the same code.
QString sharedName(uint8_t code)
{
    switch (code) {
    case 0x10:
        return QStringLiteral("leave service mode");
    case 0x20:
        return QStringLiteral("read fiscal data");
    case 0x25:
        return QStringLiteral("write fiscal data");
    case 0x30:
        return QStringLiteral("read taxpayer");
    case 0x35:
        return QStringLiteral("write taxpayer");
    case 0x40:
        return QStringLiteral("read receipt lines");
    case 0x45:
        return QStringLiteral("write receipt lines");
    case 0x50:
        return QStringLiteral("write logo flag");
    case 0x55:
        return QStringLiteral("read logo flag");
    case 0x60:
        return QStringLiteral("read clock");
    case 0x65:
        return QStringLiteral("write clock");
    case 0x67:
        return QStringLiteral("clock forward");
    case 0x69:
        return QStringLiteral("clock back");
    case 0x70:
        return QStringLiteral("read tax groups");
    case 0x75:
        return QStringLiteral("write tax groups");
    case 0x80:
        return QStringLiteral("read article");
    case 0x85:
        return QStringLiteral("write article");
    case 0x90:
        return QStringLiteral("read cashier");
    case 0x95:
        return QStringLiteral("write cashier");
    case 0xA0:
        return QStringLiteral("read departments");
    case 0xA5:
        return QStringLiteral("write departments");
    case 0xC0:
        return QStringLiteral("read fiscal memory block");
    case 0xF6:
        return QStringLiteral("read network setting");
    case 0xF7:
        return QStringLiteral("read parameter");
    case 0xF8:
        return QStringLiteral("write network setting");
    case 0xF9:
        return QStringLiteral("write parameter");
    default:
        break;
    }
    if ((code & 0xF0) == 0xE0)
        return numbered("read logo block", code & 0x0F);
    if ((code & 0xF0) == 0xD0)
        return numbered("write logo block", code & 0x0F);
    return {};
}
} // namespace

namespace CommandNames {
QString shortFrame(uint8_t code, bool request)
{
    if (!request) {
        switch (code) {
        case 0x00:
            return QStringLiteral("service mode on");
        case 0x10:
            return QStringLiteral("service mode off");
        case 0x06:
            return QStringLiteral("acknowledged");
        case 0xF5:
            return QStringLiteral("error");
        case 0xFD:
            return QStringLiteral("not zeroed");
        default:
            break;
        }
    }
    const QString name = sharedName(code);
    return name.isEmpty() ? QStringLiteral("unknown") : name;
}

QString longFrame(uint8_t command, bool request)
{
    if (request) {
        switch (command) {
        case 0x01:
            return QStringLiteral("login");
        case 0x19:
            return QStringLiteral("self-test display");
        case 0x1A:
            return QStringLiteral("self-test printer");
        case 0x1B:
            return QStringLiteral("self-test fiscal memory");
        case 0x1C:
            return QStringLiteral("self-test program memory");
        default:
            return QStringLiteral("unknown");
        }
    }
    if (command == 0x20 || command == 0x24)
        return QStringLiteral("long reply");
    return QStringLiteral("unknown");
}

QString forFrame(const QByteArray &frame, bool request)
{
    if (frame.size() >= 8 && uint8_t(frame.at(0)) == 0xAA)
        return longFrame(uint8_t(frame.at(7)), request);
    if (frame.size() >= 2 && uint8_t(frame.at(0)) == 0x5F)
        return shortFrame(uint8_t(frame.at(1)), request);
    return QStringLiteral("unknown");
}
} // namespace CommandNames
