#include "Device.h"

#include "ArticleOps.h"
#include "ClockOps.h"
#include "DeviceLink.h"
#include "FiscalDataOps.h"
#include "LogoOps.h"
#include "ReceiptLinesOps.h"
#include "TaxpayerOps.h"

Device::Device(DeviceLink &link, QObject *parent) : QObject(parent), link_(link)
{
    // Fiscal data sets
    fiscalData_ = std::make_unique<FiscalDataOps>(link);
    taxpayer_ = std::make_unique<TaxpayerOps>(link);
    clock_ = std::make_unique<ClockOps>(link);
    receiptLines_ = std::make_unique<ReceiptLinesOps>(link);
    logo_ = std::make_unique<LogoOps>(link);

    // Catalogue data sets
    articles_ = std::make_unique<ArticleOps>(link);

    // Maintenance
}

Device::~Device() = default;
