#pragma once
// End-to-end set-up: the main window talking to an in-process simulated printer over loopback TCP.

#include "DeviceLink.h"
#include "SimServer.h"
#include "SimulatedDevice.h"
#include "TDialog.h"
#include "TcpTransport.h"
#include "TfMain.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStringList>

#include <functional>
#include <memory>

// Processes events until `done` holds or `timeoutMs` passes; returns whether it holds.
inline bool waitUntil(const std::function<bool()> &done, int timeoutMs = 5000)
{
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

struct SimHarness {
    // `host` is a loopback address of the test's own (127.0.0.N) so tests can run side by side.
    explicit SimHarness(const QString &host = QStringLiteral("127.0.0.1"))
    {
        server = std::make_unique<SimServer>(device);
        listening = server->listen(QHostAddress(host), 0);
        window = std::make_unique<TfMain>();
        window->FormActivate();
        // Every message the window shows is recorded and answered with `answer`.
        window->dialog().setResponder([this](TDialog &d) {
            messages.append(d.Naslov->text() + QStringLiteral("|") + d.tekst->toPlainText());
            return answer;
        });
        connected = listening && tcp.connectTo(host + QStringLiteral(":") + QString::number(server->port()));
        window->link().setTransport(&tcp);
    }

    DeviceLink &link() { return window->link(); }

    // Logs in as the technician would; the device's service-mode reply disables every write
    // button, so a write button found enabled afterwards was enabled by a read. True once the
    // reply was handled.
    bool logIn()
    {
        bool entered = false;
        const QMetaObject::Connection c = QObject::connect(&link(), &DeviceLink::replyDispatched,
                                                           [&](uint8_t code) { entered = entered || code == 0x00; });
        window->PrijavaOperatera();
        const bool ok = waitUntil([&] { return entered; });
        QObject::disconnect(c);
        return ok;
    }

    SimulatedDevice device;
    std::unique_ptr<SimServer> server;
    std::unique_ptr<TfMain> window;
    TcpTransport tcp;
    QStringList messages;
    int answer = 1;
    bool listening = false;
    bool connected = false;
};
