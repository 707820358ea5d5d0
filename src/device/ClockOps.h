#pragma once
// Reading the device clock with the last fiscal date-time (request 0x60) and setting the clock (0x65).

#include "ClockRecord.h"

#include <QObject>

class DeviceLink;

class ClockOps : public QObject {
    Q_OBJECT
public:
    static constexpr uint8_t kReadCode = 0x60;
    static constexpr uint8_t kWriteCode = 0x65;
    static constexpr int kWriteCount = 4 + ClockRecord::kWriteSize; // 11 with the CR

    explicit ClockOps(DeviceLink &link, QObject *parent = nullptr);

    // Read request 0x60 with the reply timer; false when it could not be written.
    bool read();
    // Write request 0x65, without the reply timer; false when it could not be written. The caller
    // checks the setting against the last fiscal date-time first.
    bool write(const QDate &date, const QTime &time);

signals:
    // Reply 0x60, asked for or not.
    void received(const ClockRecord &record);

private:
    DeviceLink &link_;
};
