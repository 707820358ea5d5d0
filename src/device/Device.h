#pragma once
// The device as a whole over one link: the operations of every data set, each handling its own replies.

#include <QObject>
#include <QString>

#include <memory>

class DeviceLink;
// Fiscal data sets
class ClockOps;
class FiscalDataOps;
class LogoOps;
class ReceiptLinesOps;
class TaxpayerOps;
// Catalogue data sets
class ArticleOps;
class CashiersOps;
class DepartmentsOps;
class TaxGroupsOps;
// Maintenance
class ClockShiftOps;
class FmDumpOps;
class LoginOps;
class NetworkOps;
class ParametersOps;
class SelfTestOps;

class Device : public QObject {
    Q_OBJECT
public:
    // Registers every operation's reply handlers on `link`; one Device per link.
    explicit Device(DeviceLink &link, QObject *parent = nullptr);
    ~Device() override;

    DeviceLink &link() { return link_; }

    // The factory number carried by long frames (login, self-tests): up to six digits, may be empty.
    const QString &factoryNumber() const { return factoryNumber_; }
    void setFactoryNumber(const QString &number) { factoryNumber_ = number; }

    // Fiscal data sets
    FiscalDataOps &fiscalData() { return *fiscalData_; }
    TaxpayerOps &taxpayer() { return *taxpayer_; }
    ClockOps &clock() { return *clock_; }
    ReceiptLinesOps &receiptLines() { return *receiptLines_; }
    LogoOps &logo() { return *logo_; }

    // Catalogue data sets
    ArticleOps &articles() { return *articles_; }
    TaxGroupsOps &taxGroups() { return *taxGroups_; }
    DepartmentsOps &departments() { return *departments_; }
    CashiersOps &cashiers() { return *cashiers_; }

    // Maintenance
    LoginOps &login() { return *login_; }
    SelfTestOps &selfTest() { return *selfTest_; }
    ClockShiftOps &clockShift() { return *clockShift_; }
    NetworkOps &network() { return *network_; }
    ParametersOps &parameters() { return *parameters_; }
    FmDumpOps &fmDump() { return *fmDump_; }

private:
    DeviceLink &link_;
    QString factoryNumber_;

    // Fiscal data sets
    std::unique_ptr<FiscalDataOps> fiscalData_;
    std::unique_ptr<TaxpayerOps> taxpayer_;
    std::unique_ptr<ClockOps> clock_;
    std::unique_ptr<ReceiptLinesOps> receiptLines_;
    std::unique_ptr<LogoOps> logo_;

    // Catalogue data sets
    std::unique_ptr<ArticleOps> articles_;
    std::unique_ptr<TaxGroupsOps> taxGroups_;
    std::unique_ptr<DepartmentsOps> departments_;
    std::unique_ptr<CashiersOps> cashiers_;

    // Maintenance
    std::unique_ptr<LoginOps> login_;
    std::unique_ptr<SelfTestOps> selfTest_;
    std::unique_ptr<ClockShiftOps> clockShift_;
    std::unique_ptr<NetworkOps> network_;
    std::unique_ptr<ParametersOps> parameters_;
    std::unique_ptr<FmDumpOps> fmDump_;
};
