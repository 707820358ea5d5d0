#include "LongReplyWaiter.h"

#include "ToolText.h"
#include "UiText.h"

namespace {
constexpr uint8_t kServiceModeOn = 0x00;
constexpr uint8_t kNotZeroed = 0xFD;
} // namespace

LongReplyWaiter::LongReplyWaiter(DeviceLink &link, int timeoutMs, QObject *parent) : QObject(parent), link_(link)
{
    timer_.setSingleShot(true);
    timer_.setInterval(timeoutMs);
    connect(&timer_, &QTimer::timeout, this,
            [this] { finish(OpResult::failed(OpResult::Kind::NoAnswer, UiText(Txt::NoAnswer))); });
    // A refusing long reply and an error reply both come here first, with the text the user was shown.
    connect(&link_, &DeviceLink::deviceErrorReply, this,
            [this](const QString &text) { finish(OpResult::failed(OpResult::Kind::DeviceError, text)); });
    connect(&link_, &DeviceLink::longReplyRecognised, this, [this](uint8_t, uint8_t result) {
        if (result != 0)
            finish(OpResult::done());
    });
    connect(&link_, &DeviceLink::frameRecognised, this, [this](const QByteArray &frame) {
        // Short replies only: a long reply carries the model identifier's 0x04 in its second byte.
        if (frame.size() < 4 || uint8_t(frame.at(0)) != 0x5F)
            return;
        const uint8_t code = uint8_t(frame.at(1));
        if (code == kServiceModeOn) {
            finish(OpResult::done());
        } else if (code == kNotZeroed) {
            const bool model = frame.size() >= 6 && uint8_t(frame.at(3)) == 0x04 && uint8_t(frame.at(4)) == 0x01;
            finish(OpResult::failed(OpResult::Kind::DeviceError, UiText(model ? Txt::NotZeroed : Txt::WrongModel)));
        }
    });
    connect(&link_, &DeviceLink::connectionLost, this,
            [this] { finish(OpResult::failed(OpResult::Kind::ConnectionLost, ToolText::ConnectionLost())); });
    timer_.start();
}

void LongReplyWaiter::finish(const OpResult &result)
{
    if (finished_)
        return;
    finished_ = true;
    result_ = result;
    timer_.stop();
    disconnect(&link_, nullptr, this, nullptr);
    emit ended(result_);
}
