// One device operation at a time: a running chain holds the operation buttons, refuses other
// requests, and gives the buttons back as they were however it ends.
#include "DeviceLink.h"
#include "RecordingView.h"
#include "TestTransport.h"
#include "ToolText.h"
#include "UiText.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {
using Chain = DeviceLink::Chain;
using ChainEnd = DeviceLink::ChainEnd;

class LinkChain : public ::testing::Test {
protected:
    void SetUp() override
    {
        link.setTransport(&t);
        // A few buttons with a state of their own before the chain.
        view.enabled["btnTGRead"] = true;
        view.enabled["btnTGWrite"] = false;
        view.enabled["btnAWrite"] = false;
        view.enabled["btnFMDump"] = true;
    }
    void reply(uint8_t code, const QByteArray &data)
    {
        t.inject(QByteArray(1, char(0x5F)) + char(code) + char(data.size()) + data + char(0x0D));
    }
    RecordingView view;
    DeviceLink link{view};
    TestTransport t;
};
} // namespace

TEST_F(LinkChain, HeldButtonsComeBackAsTheyWereWithTheChangesAskedForMeanwhile)
{
    ASSERT_TRUE(link.beginChain(Chain::ArticlesRead));
    EXPECT_TRUE(link.busy());
    for (const QString &name : DeviceLink::deviceOperationControls())
        EXPECT_FALSE(view.enabled.value(name, true)) << name.toStdString();

    // While held, changes are kept for the end: the read enables the write button, and the
    // device reports service mode (which enables reads and disables writes).
    link.setControlsEnabled({"btnAWrite"}, true);
    reply(0x00, "\x04\x01");
    EXPECT_FALSE(view.enabled["btnAWrite"]);
    EXPECT_FALSE(view.enabled["btnARead"]);
    // A control no chain holds changes at once.
    link.setControlsEnabled({"btnACor"}, false);
    EXPECT_FALSE(view.enabled["btnACor"]);

    QSignalSpy ended(&link, &DeviceLink::chainEnded);
    link.endChain(Chain::CashiersRead, ChainEnd::Completed); // not the running chain: no effect
    EXPECT_TRUE(link.busy());
    link.endChain(Chain::ArticlesRead, ChainEnd::Completed);
    EXPECT_FALSE(link.busy());
    ASSERT_EQ(ended.size(), 1);
    EXPECT_EQ(ended[0][1].value<ChainEnd>(), ChainEnd::Completed);
    EXPECT_TRUE(view.enabled["btnAWrite"]);
    EXPECT_TRUE(view.enabled["btnTGRead"]);
    EXPECT_TRUE(view.enabled["btnARead"]);
    EXPECT_FALSE(view.enabled["btnTGWrite"]); // service mode disables the writes
    EXPECT_FALSE(view.enabled["btnACor"]);

    // Changes after the end go straight to the view again.
    link.setControlsEnabled({"btnTGWrite"}, true);
    EXPECT_TRUE(view.enabled["btnTGWrite"]);
}

TEST_F(LinkChain, OtherRequestsAreRefusedWhileAChainRuns)
{
    ASSERT_TRUE(link.beginChain(Chain::MemoryDump, {}, {"btnFMDump"}));
    EXPECT_TRUE(view.enabled["btnFMDump"]); // the dump's own stop button
    EXPECT_TRUE(link.SendFrame(0xC0, 6));   // the chain's own requests go out
    ASSERT_EQ(t.writes.size(), 1);
    view.dialogs.clear();

    EXPECT_FALSE(link.SendFrame(0x70, 4)); // a tax-group read
    EXPECT_FALSE(link.WriteBytes(QByteArray("\xAA\x04\x01", 3)));
    EXPECT_FALSE(link.beginChain(Chain::ArticlesWrite));
    EXPECT_EQ(t.writes.size(), 1);
    ASSERT_EQ(view.dialogs.size(), 3);
    for (const QString &d : view.dialogs)
        EXPECT_TRUE(d.startsWith(UiText(Txt::TitleWarning) + "|") && d.contains(QStringLiteral("фискалне меморије")))
            << d.toStdString();
    EXPECT_EQ(link.chain(), Chain::MemoryDump);

    link.endChain(ChainEnd::Completed);
    EXPECT_TRUE(link.SendFrame(0x70, 4));
    EXPECT_EQ(t.writes.size(), 2);
}

TEST_F(LinkChain, ErrorNoAnswerCancelClosedAndLeavingServiceModeEndTheChain)
{
    QSignalSpy ended(&link, &DeviceLink::chainEnded);
    auto describe = [](ChainEnd how) {
        return how == ChainEnd::NoAnswer ? QStringLiteral("stopped at 7") : QStringLiteral("error at 7");
    };

    ASSERT_TRUE(link.beginChain(Chain::ArticlesRead, describe));
    ASSERT_TRUE(link.SendAwaitingReply(0x80, 6));
    link.TimerTimer();
    ASSERT_EQ(view.dialogs.size(), 1);
    EXPECT_EQ(view.dialogs[0], UiText(Txt::TitleError) + "|" + UiText(Txt::NoAnswer) + "\n" +
                                   ToolText::noAnswerDetail("5f 80 02 00 00 0d", {}, {}) + "\nstopped at 7");

    ASSERT_TRUE(link.beginChain(Chain::ArticlesWrite, describe));
    reply(0xF5, QByteArray("\x04\x01\x03", 3));
    ASSERT_EQ(view.dialogs.size(), 2);
    EXPECT_TRUE(view.dialogs[1].endsWith("\nerror at 7")) << view.dialogs[1].toStdString();

    ASSERT_TRUE(link.beginChain(Chain::ArticlesWrite));
    link.BtnOtkazClick();
    EXPECT_TRUE(link.cancelFlag());
    link.setCancelFlag(false); // as the next received byte does

    ASSERT_TRUE(link.beginChain(Chain::LogoRead));
    emit t.closed();

    ASSERT_TRUE(link.beginChain(Chain::CashiersWrite));
    reply(0x10, "\x04\x01");

    ASSERT_TRUE(link.beginChain(Chain::ArticlesRead));
    link.abandonChain();

    const ChainEnd expected[] = {ChainEnd::NoAnswer,       ChainEnd::DeviceError, ChainEnd::Cancelled,
                                 ChainEnd::ConnectionLost, ChainEnd::Stopped,     ChainEnd::Abandoned};
    ASSERT_EQ(ended.size(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(ended[i][1].value<ChainEnd>(), expected[i]) << i;
    EXPECT_FALSE(link.busy());
    // Cancel and leaving service mode raise no message of the link; a closed line says so.
    ASSERT_EQ(view.dialogs.size(), 3);
    EXPECT_TRUE(view.dialogs[2].startsWith(UiText(Txt::TitleError) + "|" + ToolText::ConnectionLost()))
        << view.dialogs[2].toStdString();
    EXPECT_FALSE(view.enabled["btnTGRead"]); // the device left service mode while it was held
}
