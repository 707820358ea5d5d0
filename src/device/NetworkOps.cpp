#include "NetworkOps.h"

#include "DeviceLink.h"

#include <QStringList>

NetworkOps::NetworkOps(DeviceLink &link, QObject *parent) : QObject(parent), link_(link)
{
    link_.onReply(kReadCode, [this] {
        if (link_.rx(4) == kPortSelector)
            emit portReceived(uint16_t(link_.rx(5) + 256 * link_.rx(6)));
        else
            emit addressReceived(link_.rx(4), {link_.rx(5), link_.rx(6), link_.rx(7), link_.rx(8)});
    });
}

bool NetworkOps::read(uint8_t selector)
{
    link_.setTx(4, selector);
    return link_.SendAwaitingReply(kReadCode, 5);
}

bool NetworkOps::writeAddress(uint8_t selector, const Address &bytes)
{
    return write(selector, bytes);
}

bool NetworkOps::writePort(uint16_t port)
{
    return write(kPortSelector, {uint8_t(port & 0xFF), uint8_t(port >> 8), 0, 0});
}

bool NetworkOps::write(uint8_t selector, const Address &bytes)
{
    link_.setTx(4, selector);
    for (int i = 0; i < 4; ++i)
        link_.setTx(5 + i, bytes[size_t(i)]);
    return link_.SendFrame(kWriteCode, 9);
}

QString NetworkOps::dotted(const Address &bytes)
{
    // The first byte on the wire is the last part of the dotted address.
    return QStringLiteral("%1.%2.%3.%4").arg(bytes[3]).arg(bytes[2]).arg(bytes[1]).arg(bytes[0]);
}

bool NetworkOps::fromDotted(const QString &text, Address &bytes)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    Address out{};
    for (int i = 0; i < 4; ++i) {
        const QString &p = parts[i];
        if (p.isEmpty() || p.size() > 3)
            return false;
        for (QChar c : p)
            if (c < u'0' || c > u'9')
                return false;
        const int v = p.toInt();
        if (v > 255)
            return false;
        out[size_t(3 - i)] = uint8_t(v);
    }
    bytes = out;
    return true;
}
