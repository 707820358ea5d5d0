#pragma once
// Shared set-up of the fiscal-section widget tests: an activated window on a test transport.

#include "DeviceLink.h"
#include "SimulatedDevice.h"
#include "TDialog.h"
#include "TestTransport.h"
#include "TfMain.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

class FiscalSectionFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = std::make_unique<TfMain>();
        window->FormActivate();
        window->link().setTransport(&transport);
        window->dialog().setResponder([this](TDialog &d) {
            messages.append(d.Naslov->text() + QStringLiteral("|") + d.tekst->toPlainText());
            return answer;
        });
    }

    template <typename T> T *find(const char *name) const
    {
        T *w = window->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    template <typename T> T &section() const { return *window->findChild<T *>(); }
    DeviceLink &link() { return window->link(); }

    // Plays a short reply from the device, byte by byte as over TCP.
    void reply(uint8_t code, const QByteArray &data = {}) { transport.inject(SimulatedDevice::shortReply(code, data)); }
    int progress() const { return window->findChild<QProgressBar *>("PBar")->value(); }
    QString status() const { return window->statusText(); }

    TestTransport transport;
    std::unique_ptr<TfMain> window;
    QStringList messages;
    int answer = 1;
};
