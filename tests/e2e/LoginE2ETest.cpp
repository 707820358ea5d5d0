// The window logs in on the simulated printer over loopback TCP and mirrors its service mode.
#include "SimHarness.h"
#include "UiText.h"

#include <QPushButton>

#include <gtest/gtest.h>

TEST(LoginE2E, LoginEntersServiceModeAndLeaveRequestLeavesIt)
{
    SimHarness h(QStringLiteral("127.0.0.11"));
    ASSERT_TRUE(h.connected);
    h.device.setServiceMode(false);
    h.link().setServiceMode(false);
    int dispatched = 0;
    QObject::connect(&h.link(), &DeviceLink::replyDispatched, [&](uint8_t) { ++dispatched; });
    h.window->PrijavaOperatera();
    ASSERT_TRUE(waitUntil([&] { return dispatched == 1; }));
    EXPECT_TRUE(h.link().serviceMode());
    EXPECT_TRUE(h.device.serviceMode());
    EXPECT_EQ(h.window->statusText(), UiText(Txt::InServiceMode));
    EXPECT_FALSE(h.window->findChild<QPushButton *>("btnCompanyWrite") &&
                 h.window->findChild<QPushButton *>("btnCompanyWrite")->isEnabled());

    h.link().SendAwaitingReply(0x10, 4);
    ASSERT_TRUE(waitUntil([&] { return dispatched == 2; }));
    EXPECT_FALSE(h.link().serviceMode());
    EXPECT_EQ(h.window->statusText(), UiText(Txt::NotInServiceMode));
    EXPECT_TRUE(h.messages.isEmpty());
}

TEST(LoginE2E, UnzeroedRegisterIsReported)
{
    SimHarness h(QStringLiteral("127.0.0.12"));
    ASSERT_TRUE(h.connected);
    h.device.setZeroed(false);
    h.window->PrijavaOperatera();
    ASSERT_TRUE(waitUntil([&] { return !h.messages.isEmpty(); }));
    EXPECT_EQ(h.messages.first(), UiText(Txt::TitleError) + "|" + UiText(Txt::NotZeroed));
}
