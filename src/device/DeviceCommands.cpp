#include "DeviceCommands.h"

#include "Device.h"

#include <QTimer>

// Placeholder until the maintenance operations are in the device layer: every command reports that
// it could not be sent.
namespace {
void notYet(Device &device, const DeviceCommands::Done &done)
{
    QTimer::singleShot(0, &device, [done] { done(OpResult::failed(OpResult::Kind::NotSent, "not built yet")); });
}
} // namespace

namespace DeviceCommands {
void login(Device &device, Done done)
{
    notYet(device, done);
}
void selfTest(Device &device, SelfTest, Done done)
{
    notYet(device, done);
}
void clockShift(Device &device, bool, Done done)
{
    notYet(device, done);
}
void fmDump(Device &device, std::function<void(int, int)>,
            std::function<void(const OpResult &, const QByteArray &)> done)
{
    QTimer::singleShot(0, &device, [done] { done(OpResult::failed(OpResult::Kind::NotSent, "not built yet"), {}); });
}
} // namespace DeviceCommands
