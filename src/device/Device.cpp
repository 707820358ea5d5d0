#include "Device.h"

#include "ClockShiftOps.h"
#include "DeviceLink.h"
#include "FmDumpOps.h"
#include "LoginOps.h"
#include "NetworkOps.h"
#include "ParametersOps.h"
#include "SelfTestOps.h"
#include "TaxpayerOps.h"

Device::Device(DeviceLink &link, QObject *parent) : QObject(parent), link_(link)
{
    // Fiscal data sets
    taxpayer_ = std::make_unique<TaxpayerOps>(link);

    // Catalogue data sets

    // Maintenance
    login_ = std::make_unique<LoginOps>(*this);
    selfTest_ = std::make_unique<SelfTestOps>(*this);
    clockShift_ = std::make_unique<ClockShiftOps>(link);
    network_ = std::make_unique<NetworkOps>(link);
    parameters_ = std::make_unique<ParametersOps>(link);
    fmDump_ = std::make_unique<FmDumpOps>(link);
}

Device::~Device() = default;
