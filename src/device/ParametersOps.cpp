#include "ParametersOps.h"

#include "DeviceLink.h"

ParametersOps::ParametersOps(DeviceLink &link, QObject *parent) : QObject(parent), link_(link)
{
    link_.onReply(kReadCode, [this] { emit received(link_.rx(4), uint16_t(link_.rx(5) + 256 * link_.rx(6))); });
}

bool ParametersOps::read(uint8_t number)
{
    link_.setTx(4, number);
    return link_.SendAwaitingReply(kReadCode, 5);
}

bool ParametersOps::write(uint8_t number, uint16_t value)
{
    link_.setTx(4, number);
    link_.setTx(5, uint8_t(value & 0xFF));
    link_.setTx(6, uint8_t(value >> 8));
    return link_.SendFrame(kWriteCode, 7);
}
