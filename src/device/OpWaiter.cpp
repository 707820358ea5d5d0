#include "OpWaiter.h"

#include "ToolText.h"
#include "UiText.h"

#include <QEventLoop>

OpWaiter::OpWaiter(DeviceLink &link, QObject *parent) : QObject(parent), link_(link)
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this,
            [this] { finish(OpResult::failed(OpResult::Kind::NoAnswer, link_.noAnswerMessage())); });
}

void OpWaiter::startTimeout(int timeoutMs)
{
    timer_.start(timeoutMs);
}

void OpWaiter::endOnErrorReplyOrLoss()
{
    connect(&link_, &DeviceLink::deviceErrorReply, this,
            [this](const QString &text) { finish(OpResult::failed(OpResult::Kind::DeviceError, text)); });
    connect(&link_, &DeviceLink::connectionLost, this,
            [this] { finish(OpResult::failed(OpResult::Kind::ConnectionLost, ToolText::ConnectionLost())); });
}

void OpWaiter::finish(const OpResult &result)
{
    if (finished_)
        return;
    finished_ = true;
    result_ = result;
    timer_.stop();
    disconnect(&link_, nullptr, this, nullptr);
    emit ended(result_);
}

OpResult OpWaiter::wait()
{
    if (!finished_) {
        QEventLoop loop;
        connect(this, &OpWaiter::ended, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return result_;
}
