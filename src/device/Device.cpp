#include "Device.h"

#include "DeviceLink.h"
#include "TaxpayerOps.h"

Device::Device(DeviceLink &link, QObject *parent) : QObject(parent), link_(link)
{
    // Fiscal data sets
    taxpayer_ = std::make_unique<TaxpayerOps>(link);

    // Catalogue data sets

    // Maintenance
}

Device::~Device() = default;
