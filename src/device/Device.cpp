#include "Device.h"

#include "CashiersOps.h"
#include "DepartmentsOps.h"
#include "DeviceLink.h"
#include "TaxGroupsOps.h"
#include "TaxpayerOps.h"

Device::Device(DeviceLink &link, QObject *parent) : QObject(parent), link_(link)
{
    // Fiscal data sets
    taxpayer_ = std::make_unique<TaxpayerOps>(link);

    // Catalogue data sets
    taxGroups_ = std::make_unique<TaxGroupsOps>(link);
    departments_ = std::make_unique<DepartmentsOps>(link);
    cashiers_ = std::make_unique<CashiersOps>(link);

    // Maintenance
}

Device::~Device() = default;
