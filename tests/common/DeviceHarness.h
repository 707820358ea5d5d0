#pragma once
// The device layer without a window: a Device over a link to an in-process simulated printer on loopback TCP.

#include "DataSet.h"
#include "Device.h"
#include "DeviceLink.h"
#include "RecordingView.h"
#include "SimServer.h"
#include "SimulatedDevice.h"
#include "TcpTransport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonValue>

#include <memory>
#include <optional>

struct DeviceHarness {
    // `host` is a loopback address of the test's own (127.0.0.N) so tests can run side by side.
    explicit DeviceHarness(const QString &host = QStringLiteral("127.0.0.1"))
    {
        server = std::make_unique<SimServer>(sim);
        listening = server->listen(QHostAddress(host), 0);
        connected = listening && tcp.connectTo(host + QStringLiteral(":") + QString::number(server->port()));
        link.setTransport(&tcp);
    }

    // Reads `set` and waits for its end (at most `timeoutMs`); the result and the JSON.
    std::pair<OpResult, QJsonValue> read(const DataSet &set, int timeoutMs = 20000)
    {
        std::optional<std::pair<OpResult, QJsonValue>> out;
        set.read(device, {}, [&](const OpResult &r, const QJsonValue &v) { out.emplace(r, v); });
        wait([&] { return out.has_value(); }, timeoutMs);
        return out.value_or(std::make_pair(OpResult::failed(OpResult::Kind::NoAnswer, "test timeout"), QJsonValue()));
    }
    OpResult write(const DataSet &set, const QJsonValue &data, int timeoutMs = 20000)
    {
        std::optional<OpResult> out;
        set.write(device, data, {}, [&](const OpResult &r) { out = r; });
        wait([&] { return out.has_value(); }, timeoutMs);
        return out.value_or(OpResult::failed(OpResult::Kind::NoAnswer, "test timeout"));
    }

    static bool wait(const std::function<bool()> &done, int timeoutMs)
    {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < timeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        return done();
    }

    SimulatedDevice sim;
    std::unique_ptr<SimServer> server;
    RecordingView view;
    DeviceLink link{view};
    Device device{link};
    TcpTransport tcp;
    bool listening = false;
    bool connected = false;
};
