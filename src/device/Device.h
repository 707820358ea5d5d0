#pragma once
// The device as a whole over one link: the operations of every data set, each handling its own replies.

#include <QObject>
#include <QString>

#include <memory>

class ClockShiftOps;
class DeviceLink;
class FmDumpOps;
class LoginOps;
class NetworkOps;
class ParametersOps;
class SelfTestOps;
class TaxpayerOps;

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
    TaxpayerOps &taxpayer() { return *taxpayer_; }

    // Catalogue data sets

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
    std::unique_ptr<TaxpayerOps> taxpayer_;

    // Catalogue data sets

    // Maintenance
    std::unique_ptr<LoginOps> login_;
    std::unique_ptr<SelfTestOps> selfTest_;
    std::unique_ptr<ClockShiftOps> clockShift_;
    std::unique_ptr<NetworkOps> network_;
    std::unique_ptr<ParametersOps> parameters_;
    std::unique_ptr<FmDumpOps> fmDump_;
};
