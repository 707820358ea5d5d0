#pragma once
// Reading and writing the ten departments and the restaurant mode (requests 0xA0 and 0xA5).

#include "DepartmentsRecord.h"

#include <QObject>

class DeviceLink;

class DepartmentsOps : public QObject {
    Q_OBJECT
public:
    static constexpr uint8_t kReadCode = 0xA0;
    static constexpr uint8_t kWriteCode = 0xA5;
    static constexpr int kWriteFrame = 4 + DepartmentsRecord::kWriteSize;

    explicit DepartmentsOps(DeviceLink &link, QObject *parent = nullptr);

    // Read request 0xA0 with the reply timer; false when it could not be written.
    bool read();

    enum class Write { Sent, Invalid, NotSent };
    // Write request 0xA5, without the reply timer. Invalid, with nothing sent, when a name has
    // fewer than two characters.
    Write write(const DepartmentsRecord &record);

signals:
    // Reply 0xA0, asked for or not.
    void received(const DepartmentsRecord &record);

private:
    DeviceLink &link_;
};
