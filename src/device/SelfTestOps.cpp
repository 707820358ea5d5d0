#include "SelfTestOps.h"

#include "Device.h"
#include "DeviceLink.h"
#include "LongFrame.h"

SelfTestOps::SelfTestOps(Device &device, QObject *parent) : QObject(parent), device_(device) {}

QByteArray SelfTestOps::frame(const QString &factoryNumber, Test test)
{
    return BuildLongFrame(factoryNumber, uint8_t(test));
}

bool SelfTestOps::send(Test test)
{
    return device_.link().WriteBytes(frame(device_.factoryNumber(), test));
}
