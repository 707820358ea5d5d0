#pragma once
// Reading and writing one network setting at a time (requests 0xF6 and 0xF8): address, mask, gateway, TCP port.

#include <QObject>

#include <array>
#include <cstdint>

class DeviceLink;

class NetworkOps : public QObject {
    Q_OBJECT
public:
    static constexpr uint8_t kReadCode = 0xF6;
    static constexpr uint8_t kWriteCode = 0xF8;
    // Selectors: 0 the device's address, 1 its subnet mask, 2 its gateway, 3 its local TCP port.
    static constexpr uint8_t kAddress = 0;
    static constexpr uint8_t kSubnetMask = 1;
    static constexpr uint8_t kGateway = 2;
    static constexpr uint8_t kPortSelector = 3;
    // An address as its four bytes travel: A1 first, the last part of the dotted address.
    using Address = std::array<uint8_t, 4>;

    explicit NetworkOps(DeviceLink &link, QObject *parent = nullptr);

    // Read request 0xF6 for `selector` with the reply timer; false when it could not be written.
    bool read(uint8_t selector);
    // Write request 0xF8 of an address (selector 0..2), without the reply timer.
    bool writeAddress(uint8_t selector, const Address &bytes);
    // Write request 0xF8 of the TCP port (selector 3); the two bytes after the port are sent as zero.
    bool writePort(uint16_t port);

    // "172.16.1.199" for the bytes 199 1 16 172, and back; false for anything but four numbers 0..255.
    static QString dotted(const Address &bytes);
    static bool fromDotted(const QString &text, Address &bytes);

signals:
    // Reply 0xF6, asked for or not: an address (any selector but 3) or the port (selector 3).
    void addressReceived(uint8_t selector, const NetworkOps::Address &bytes);
    void portReceived(uint16_t port);

private:
    bool write(uint8_t selector, const Address &bytes);
    DeviceLink &link_;
};
