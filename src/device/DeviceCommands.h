#pragma once
// The device's one-off commands for callers without a window: login, self-tests, clock shift, memory dump.

#include "OpResult.h"

#include <QByteArray>

#include <functional>

class Device;

namespace DeviceCommands {
using Done = std::function<void(const OpResult &result)>;

// Operator login: the long frame 0x01 with the device's factory number. Done when the device's
// long reply accepts it.
void login(Device &device, Done done);

enum class SelfTest { Display, Printer, FiscalMemory, ProgramMemory };
// Starts a self-test (long frames 0x19..0x1C); Done when the device's long reply accepts it.
void selfTest(Device &device, SelfTest test, Done done);

// Moves the device clock one hour forward (0x67) or back (0x69).
void clockShift(Device &device, bool forward, Done done);

// Reads the whole fiscal memory (131072 bytes); `progress` (may be empty) is told blocks n of total.
void fmDump(Device &device, std::function<void(int done, int total)> progress,
            std::function<void(const OpResult &result, const QByteArray &memory)> done);
} // namespace DeviceCommands
