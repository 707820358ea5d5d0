// The sending side of the link: short frames, long frames, the reply timer and write failures.
#include "DeviceLink.h"
#include "LongFrame.h"
#include "RecordingView.h"
#include "TestTransport.h"
#include "ToolText.h"
#include "UiText.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

namespace {
QString err(const QString &text)
{
    return UiText(Txt::TitleError) + "|" + text;
}
} // namespace

TEST(LinkSend, ShortFrameLengthByteRule)
{
    RecordingView view;
    DeviceLink link(view);
    TestTransport t;
    link.setTransport(&t);

    ASSERT_TRUE(link.SendFrame(0x30, 4));
    EXPECT_EQ(t.lastWrite().toHex(' '), "5f 30 00 0d");

    for (int p = 4; p <= 259; ++p)
        link.setTx(p, uint8_t(p));
    link.setTx(260, 0x77); // overwritten by the CR
    ASSERT_TRUE(link.SendFrame(0xD5, 260));
    const QByteArray f260 = t.lastWrite();
    ASSERT_EQ(f260.size(), 260);
    EXPECT_EQ(uint8_t(f260[0]), 0x5F);
    EXPECT_EQ(uint8_t(f260[1]), 0xD5);
    EXPECT_EQ(uint8_t(f260[2]), 255);
    EXPECT_EQ(uint8_t(f260[3]), 4);
    EXPECT_EQ(uint8_t(f260[258]), 259 & 0xFF);
    EXPECT_EQ(uint8_t(f260[259]), 0x0D);

    ASSERT_TRUE(link.SendFrame(0xD5, 259));
    const QByteArray f259 = t.lastWrite();
    ASSERT_EQ(f259.size(), 259);
    EXPECT_EQ(uint8_t(f259[2]), 255); // 259 - 4
    EXPECT_EQ(uint8_t(f259[258]), 0x0D);
    EXPECT_EQ(f259.left(258), f260.left(258));

    link.setTx(5, 0xAB);
    ASSERT_TRUE(link.SendFrame(0x90, 5));
    EXPECT_EQ(t.lastWrite().toHex(' '), "5f 90 01 04 0d");
    EXPECT_FALSE(link.replyPending()); // a plain frame sets no pending flag
    EXPECT_FALSE(link.replyTimer().isActive());
    EXPECT_TRUE(view.dialogs.isEmpty());
}

TEST(LinkSend, LongFramesForSelfTestAndLogin)
{
    EXPECT_EQ(BuildLongFrame("123456", 0x19).toHex(' '), "aa 04 01 12 34 56 01 19 00 65 c7 0d");
    EXPECT_EQ(BuildLongFrame("123456", 0x01, QByteArray(1, 0x01)).toHex(' '), "aa 04 01 12 34 56 01 01 01 01 4f df 0d");
    EXPECT_EQ(BuildLongFrame("", 0x01, QByteArray(1, 0x01)).toHex(' '), "aa 04 01 00 00 00 01 01 01 01 b3 af 0d");
}

TEST(LinkSend, RequestWithoutTransportOrOverAClosedOneShowsTheTransportError)
{
    RecordingView view;
    DeviceLink link(view);
    EXPECT_FALSE(link.SendAwaitingReply(0x30, 4));
    ASSERT_EQ(view.dialogs.size(), 1);
    EXPECT_TRUE(view.dialogs[0].startsWith(UiText(Txt::TitleError) + "|"));
    EXPECT_GT(view.dialogs[0].size(), UiText(Txt::TitleError).size() + 1);
    EXPECT_FALSE(link.replyPending());
    EXPECT_FALSE(link.replyTimer().isActive());

    TestTransport t;
    link.setTransport(&t);
    t.setOpen(false);
    EXPECT_FALSE(link.SendAwaitingReply(0x30, 4));
    EXPECT_EQ(view.dialogs.last(), err("Порт није отворен"));
    EXPECT_FALSE(link.WriteBytes(BuildLongFrame("1", 0x01, QByteArray(1, 0x01))));
    EXPECT_EQ(view.dialogs.size(), 3);

    {
        // A transport that goes away leaves the link without one, not with a dangling pointer.
        auto *gone = new TestTransport;
        link.setTransport(gone);
        delete gone;
    }
    EXPECT_FALSE(link.SendFrame(0x30, 4));
    EXPECT_EQ(view.dialogs.size(), 4);
}

TEST(LinkSend, NoAnswerMessageWhenTheTimerFiresWithTheRequestUnanswered)
{
    RecordingView view;
    DeviceLink link(view);
    TestTransport t;
    link.setTransport(&t);
    link.replyTimer().setInterval(20);

    ASSERT_TRUE(link.SendAwaitingReply(0x30, 4));
    EXPECT_TRUE(link.replyPending());
    EXPECT_TRUE(link.replyTimer().isActive());
    QElapsedTimer e;
    e.start();
    while (view.dialogs.isEmpty() && e.elapsed() < 3000)
        QTest::qWait(5);
    ASSERT_EQ(view.dialogs.size(), 1);
    // The fixed text, then what was sent (this link has no names for commands and no address).
    EXPECT_EQ(view.dialogs[0], UiText(Txt::TitleError) +
                                   "|Немате одговор од фискалног принтера! Проверите прикључке.\n" +
                                   ToolText::noAnswerDetail("5f 30 00 0d", {}, {}));
    EXPECT_FALSE(view.cancelVisible);
    EXPECT_FALSE(link.cancelFlag());
    EXPECT_FALSE(link.replyTimer().isActive());

    // A byte of the answer stops the timer: no message.
    ASSERT_TRUE(link.SendAwaitingReply(0x30, 4));
    t.inject(QByteArray(1, 0x5F));
    EXPECT_FALSE(link.replyPending());
    EXPECT_FALSE(link.replyTimer().isActive());
    QTest::qWait(60);
    EXPECT_EQ(view.dialogs.size(), 1);

    // Cancel stops it as well; the timer firing with nothing pending shows nothing.
    ASSERT_TRUE(link.SendAwaitingReply(0x30, 4));
    link.BtnOtkazClick();
    link.TimerTimer();
    EXPECT_EQ(view.dialogs.size(), 1);
}

TEST(LinkSend, ResetStateRestoresTheStartUpLink)
{
    RecordingView view;
    DeviceLink link(view);
    TestTransport t;
    link.setTransport(&t);
    link.setServiceMode(false);
    link.setSerialTransport(true);
    link.setDisconnectAfterExit(true);
    // A broken-off reply in the buffer, then a request awaiting its reply and a Cancel: bytes
    // clear the flags and the timer, so they come first and every item is set before the reset.
    t.inject(QByteArray("\x5F\x30\x05", 3));
    link.SendAwaitingReply(0x30, 4);
    link.setCancelFlag(true);
    ASSERT_FALSE(link.serviceMode());
    ASSERT_TRUE(link.serialTransport());
    ASSERT_TRUE(link.cancelFlag());
    ASSERT_TRUE(link.disconnectAfterExit());
    ASSERT_TRUE(link.replyPending());
    ASSERT_TRUE(link.replyTimer().isActive());
    ASSERT_EQ(link.rxCount(), 3);
    ASSERT_EQ(link.rx(1), 0x5F);
    link.resetState();
    EXPECT_TRUE(link.serviceMode());
    EXPECT_FALSE(link.serialTransport());
    EXPECT_FALSE(link.cancelFlag());
    EXPECT_FALSE(link.disconnectAfterExit());
    EXPECT_FALSE(link.replyPending());
    EXPECT_FALSE(link.replyTimer().isActive());
    EXPECT_EQ(link.rxCount(), 0);
    for (int p = 1; p <= DeviceLink::kBufferSize; ++p)
        ASSERT_EQ(link.rx(p), 0) << p;
    // The next reply is recognised from its first byte.
    QList<int> codes;
    QObject::connect(&link, &DeviceLink::replyDispatched, [&](uint8_t c) { codes.append(c); });
    t.inject(QByteArray("\x5F\x06\x00\x0D", 4));
    EXPECT_EQ(codes, QList<int>{0x06});
}
