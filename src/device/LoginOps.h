#pragma once
// Operator login: the long frame 0x01 with one data byte, addressed by the device's factory number.

#include <QByteArray>
#include <QObject>
#include <QString>

#include <cstdint>

class Device;

class LoginOps : public QObject {
    Q_OBJECT
public:
    static constexpr uint8_t kCommand = 0x01;

    explicit LoginOps(Device &device, QObject *parent = nullptr);

    // The 13-byte request for `factoryNumber`.
    static QByteArray frame(const QString &factoryNumber);
    // Empties the receive buffer, so that the answer is collected from an empty buffer, and writes
    // the request with the device's factory number. Sent in or out of service mode; false when it
    // could not be written (the link has said why).
    bool send();

private:
    Device &device_;
};
