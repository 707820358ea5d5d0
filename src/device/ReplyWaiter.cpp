#include "ReplyWaiter.h"

#include "ToolText.h"
#include "UiText.h"

namespace {
bool unasked(uint8_t code)
{
    return code == 0x00 || code == 0x10 || code == 0xFD;
}
} // namespace

ReplyWaiter::ReplyWaiter(DeviceLink &link, int code, int timeoutMs, QObject *parent)
    : OpWaiter(link, parent), code_(code)
{
    connect(&link_, &DeviceLink::replyDispatched, this, [this](uint8_t code) {
        if (code == 0xF5)
            return; // reported through deviceErrorReply
        if (code_ == kAnyReply ? !unasked(code) : code == uint8_t(code_))
            finish(OpResult::done());
    });
    connect(&link_, &DeviceLink::noAnswer, this,
            [this] { finish(OpResult::failed(OpResult::Kind::NoAnswer, link_.noAnswerMessage())); });
    endOnErrorReplyOrLoss();
    startTimeout(timeoutMs);
}

void ReplyWaiter::run(DeviceLink &link, int code, const std::function<bool()> &send,
                      std::function<void(const OpResult &)> done, int timeoutMs)
{
    auto *waiter = new ReplyWaiter(link, code, timeoutMs, &link);
    connect(waiter, &ReplyWaiter::ended, waiter, [waiter, &link, done = std::move(done)](const OpResult &result) {
        waiter->deleteLater();
        // Called from the event loop, never from inside the reply handler that ended the wait.
        QTimer::singleShot(0, &link, [done, result] { done(result); });
    });
    // The link has said why a request could not be written.
    if (!send())
        waiter->finish(OpResult::failed(OpResult::Kind::NotSent));
}

ChainWaiter::ChainWaiter(DeviceLink &link, DeviceLink::Chain chain, QObject *parent)
    : OpWaiter(link, parent), chain_(chain)
{
    connect(&link_, &DeviceLink::deviceErrorReply, this, [this](const QString &text) { lastError_ = text; });
    connect(&link_, &DeviceLink::chainEnded, this, [this](DeviceLink::Chain chain, DeviceLink::ChainEnd how) {
        if (chain == chain_)
            finish(resultFor(how, lastError_));
    });
}

OpResult ChainWaiter::resultFor(DeviceLink::ChainEnd how, const QString &errorText)
{
    using End = DeviceLink::ChainEnd;
    using Kind = OpResult::Kind;
    switch (how) {
    case End::Completed:
        return OpResult::done();
    case End::Cancelled:
    case End::Abandoned:
        return OpResult::failed(Kind::Cancelled);
    case End::DeviceError:
        return OpResult::failed(Kind::DeviceError, errorText);
    case End::NoAnswer:
        return OpResult::failed(Kind::NoAnswer, UiText(Txt::NoAnswer));
    case End::ConnectionLost:
        return OpResult::failed(Kind::ConnectionLost, ToolText::ConnectionLost());
    case End::Stopped:
        break;
    }
    return OpResult::failed(Kind::Invalid);
}
