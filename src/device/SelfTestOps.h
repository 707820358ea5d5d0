#pragma once
// The device's four self-tests: long frames 0x19..0x1C without data, addressed by the factory number.

#include <QByteArray>
#include <QObject>
#include <QString>

#include <cstdint>

class Device;

class SelfTestOps : public QObject {
    Q_OBJECT
public:
    // The command code of each test.
    enum class Test : uint8_t { Display = 0x19, Printer = 0x1A, FiscalMemory = 0x1B, ProgramMemory = 0x1C };

    explicit SelfTestOps(Device &device, QObject *parent = nullptr);

    // The 12-byte request for `test` with `factoryNumber`.
    static QByteArray frame(const QString &factoryNumber, Test test);
    // Writes the request with the device's factory number; no reply timer, the verdict comes back
    // as a long reply the link shows. False when it could not be written (the link has said why).
    bool send(Test test);

private:
    Device &device_;
};
