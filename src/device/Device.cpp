#include "Device.h"

#include "ArticleOps.h"
#include "CashiersOps.h"
#include "ClockOps.h"
#include "ClockShiftOps.h"
#include "CommLogLine.h"
#include "DepartmentsOps.h"
#include "DeviceLink.h"
#include "FiscalDataOps.h"
#include "FmDumpOps.h"
#include "LoginOps.h"
#include "LogoOps.h"
#include "NetworkOps.h"
#include "ParametersOps.h"
#include "ReceiptLinesOps.h"
#include "SelfTestOps.h"
#include "TaxGroupsOps.h"
#include "TaxpayerOps.h"

Device::Device(DeviceLink &link, QObject *parent) : QObject(parent), link_(link)
{
    // The link's messages name a request as the communication log does.
    link.setFrameNamer(&CommLogLine::describe);
    // Fiscal data sets
    fiscalData_ = std::make_unique<FiscalDataOps>(link);
    taxpayer_ = std::make_unique<TaxpayerOps>(link);
    clock_ = std::make_unique<ClockOps>(link);
    receiptLines_ = std::make_unique<ReceiptLinesOps>(link);
    logo_ = std::make_unique<LogoOps>(link);

    // Catalogue data sets
    articles_ = std::make_unique<ArticleOps>(link);
    taxGroups_ = std::make_unique<TaxGroupsOps>(link);
    departments_ = std::make_unique<DepartmentsOps>(link);
    cashiers_ = std::make_unique<CashiersOps>(link);

    // Maintenance
    login_ = std::make_unique<LoginOps>(*this);
    selfTest_ = std::make_unique<SelfTestOps>(*this);
    clockShift_ = std::make_unique<ClockShiftOps>(link);
    network_ = std::make_unique<NetworkOps>(link);
    parameters_ = std::make_unique<ParametersOps>(link);
    fmDump_ = std::make_unique<FmDumpOps>(link);
}

Device::~Device() = default;
