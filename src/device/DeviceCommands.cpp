#include "DeviceCommands.h"

#include "ClockShiftOps.h"
#include "Device.h"
#include "DeviceLink.h"
#include "FmDumpOps.h"
#include "LoginOps.h"
#include "LongReplyWaiter.h"
#include "ReplyWaiter.h"
#include "SelfTestOps.h"
#include "ToolText.h"

#include <QTimer>

#include <memory>

namespace {
// How long the device may take to answer: the link's reply time.
int replyTime(Device &device)
{
    return device.link().replyTimer().interval();
}

// Writes a long request and ends `done` with the device's verdict on it, from the event loop.
void longRequest(Device &device, const std::function<bool()> &send, DeviceCommands::Done done)
{
    DeviceLink &link = device.link();
    auto *waiter = new LongReplyWaiter(link, replyTime(device), &link);
    QObject::connect(waiter, &LongReplyWaiter::ended, waiter,
                     [waiter, &link, done = std::move(done)](const OpResult &result) {
                         waiter->deleteLater();
                         QTimer::singleShot(0, &link, [done, result] { done(result); });
                     });
    if (!send())
        waiter->finish(OpResult::failed(OpResult::Kind::NotSent));
}

SelfTestOps::Test testOf(DeviceCommands::SelfTest test)
{
    switch (test) {
    case DeviceCommands::SelfTest::Display:
        return SelfTestOps::Test::Display;
    case DeviceCommands::SelfTest::Printer:
        return SelfTestOps::Test::Printer;
    case DeviceCommands::SelfTest::FiscalMemory:
        return SelfTestOps::Test::FiscalMemory;
    case DeviceCommands::SelfTest::ProgramMemory:
        break;
    }
    return SelfTestOps::Test::ProgramMemory;
}
} // namespace

namespace DeviceCommands {
void login(Device &device, Done done)
{
    longRequest(
        device, [&device] { return device.login().send(); }, std::move(done));
}

void selfTest(Device &device, SelfTest test, Done done)
{
    longRequest(
        device, [&device, test] { return device.selfTest().send(testOf(test)); }, std::move(done));
}

void clockShift(Device &device, bool forward, Done done)
{
    // The device acknowledges the shift with a reply of its own.
    ReplyWaiter::run(
        device.link(), ReplyWaiter::kAnyReply, [&device, forward] { return device.clockShift().shift(forward); },
        std::move(done), replyTime(device));
}

void fmDump(Device &device, std::function<void(int, int)> progress,
            std::function<void(const OpResult &, const QByteArray &)> done)
{
    FmDumpOps &ops = device.fmDump();
    // Lives as long as the dump: its connections go with it.
    auto *run = new QObject(&device);
    auto memory = std::make_shared<QByteArray>();
    memory->reserve(FmDumpOps::kDumpSize);
    auto over = std::make_shared<bool>(false);
    auto end = [run, over, &device, done = std::move(done), memory](const OpResult &result) {
        if (*over)
            return;
        *over = true;
        run->deleteLater();
        const QByteArray bytes = result.ok() ? *memory : QByteArray();
        QTimer::singleShot(0, &device, [done, result, bytes] { done(result, bytes); });
    };
    QObject::connect(&ops, &FmDumpOps::blockReceived, run, [memory, progress](int block, const QByteArray &data) {
        memory->append(data);
        if (progress)
            progress(block + 1, FmDumpOps::kBlocks);
    });
    QObject::connect(&ops, &FmDumpOps::completed, run, [end] { end(OpResult::done()); });
    QObject::connect(&ops, &FmDumpOps::badBlock, run, [end](int block, int expected) {
        end(OpResult::failed(OpResult::Kind::DeviceError, ToolText::memoryDumpBadBlock(block, expected)));
    });
    QObject::connect(&ops, &FmDumpOps::broken, run, [end](const OpResult &why) { end(why); });
    if (!ops.begin()) {
        end(OpResult::failed(OpResult::Kind::NotSent));
        return;
    }
    // A failed first request has reported itself through `broken`.
    ops.requestFirstBlock();
}
} // namespace DeviceCommands
