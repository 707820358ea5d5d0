#pragma once
// Delivers a data set's result from the event loop, as every read and write delivers its end.

#include "Device.h"

#include <QTimer>

#include <utility>

template <typename Done, typename... Args> void later(Device &device, Done done, Args... args)
{
    QTimer::singleShot(0, &device, [done = std::move(done), args...] { done(args...); });
}
