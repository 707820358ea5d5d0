#pragma once
// Moving the device clock one hour forward (request 0x67) or back (0x69).

#include <QObject>

#include <cstdint>

class DeviceLink;

class ClockShiftOps : public QObject {
    Q_OBJECT
public:
    static constexpr uint8_t kForwardCode = 0x67;
    static constexpr uint8_t kBackCode = 0x69;

    explicit ClockShiftOps(DeviceLink &link, QObject *parent = nullptr);

    // Sends the request at once, without the reply timer; false when it could not be written.
    bool shift(bool forward);

private:
    DeviceLink &link_;
};
