#pragma once
// Reading and writing the device's numbered parameters 0..255 (requests 0xF7 and 0xF9), one at a time.

#include <QObject>

#include <cstdint>

class DeviceLink;

class ParametersOps : public QObject {
    Q_OBJECT
public:
    static constexpr uint8_t kReadCode = 0xF7;
    static constexpr uint8_t kWriteCode = 0xF9;
    static constexpr int kCount = 256;

    explicit ParametersOps(DeviceLink &link, QObject *parent = nullptr);

    // Read request 0xF7 with the reply timer; false when it could not be written.
    bool read(uint8_t number);
    // Write request 0xF9, without the reply timer; false when it could not be written.
    bool write(uint8_t number, uint16_t value);

signals:
    // Reply 0xF7, asked for or not.
    void received(uint8_t number, uint16_t value);

private:
    DeviceLink &link_;
};
