#include "LoginOps.h"

#include "Device.h"
#include "DeviceLink.h"
#include "LongFrame.h"

LoginOps::LoginOps(Device &device, QObject *parent) : QObject(parent), device_(device) {}

QByteArray LoginOps::frame(const QString &factoryNumber)
{
    return BuildLongFrame(factoryNumber, kCommand, QByteArray(1, char(0x01)));
}

bool LoginOps::send()
{
    DeviceLink &link = device_.link();
    link.clearRx();
    return link.WriteBytes(frame(device_.factoryNumber()));
}
