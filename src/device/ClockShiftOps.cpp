#include "ClockShiftOps.h"

#include "DeviceLink.h"

ClockShiftOps::ClockShiftOps(DeviceLink &link, QObject *parent) : QObject(parent), link_(link) {}

bool ClockShiftOps::shift(bool forward)
{
    return link_.SendFrame(forward ? kForwardCode : kBackCode, 4);
}
