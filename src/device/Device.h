#pragma once
// The device as a whole over one link: the operations of every data set, each handling its own replies.

#include <QObject>
#include <QString>

#include <memory>

class ArticleOps;
class DeviceLink;
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
    ArticleOps &articles() { return *articles_; }

    // Maintenance

private:
    DeviceLink &link_;
    QString factoryNumber_;

    // Fiscal data sets
    std::unique_ptr<TaxpayerOps> taxpayer_;

    // Catalogue data sets
    std::unique_ptr<ArticleOps> articles_;

    // Maintenance
};
