#include "Device.h"

#include "ArticleOps.h"
#include "DeviceLink.h"
#include "TaxpayerOps.h"

Device::Device(DeviceLink &link, QObject *parent) : QObject(parent), link_(link)
{
    // Fiscal data sets
    taxpayer_ = std::make_unique<TaxpayerOps>(link);

    // Catalogue data sets
    articles_ = std::make_unique<ArticleOps>(link);

    // Maintenance
}

Device::~Device() = default;
