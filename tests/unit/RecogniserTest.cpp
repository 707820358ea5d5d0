// Recognition of replies in the receive buffer and their dispatch: framing edge cases, long
// replies, service-mode replies, errors, cancel, overflow and bytes arriving during a dialog.
#include "DeviceLink.h"
#include "RecordingView.h"
#include "TestTransport.h"
#include "ToolText.h"
#include "UiText.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {
QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray b;
    for (int v : list)
        b.append(char(v));
    return b;
}

QByteArray longReply(uint8_t command, const QByteArray &data)
{
    QByteArray f = bytes({0xAA, 0x04, 0x01, 0x12, 0x34, 0x56, 0x01, command, int(data.size())}) + data;
    uint8_t sum = 0, x = 0;
    for (char c : f)
        sum = uint8_t(sum + uint8_t(c)), x = uint8_t(x ^ uint8_t(c));
    return f + bytes({sum, x, 0x0D});
}

QString err(const QString &text)
{
    return UiText(Txt::TitleError) + "|" + text;
}

class Recogniser : public ::testing::Test {
protected:
    void SetUp() override
    {
        link.setTransport(&tcp);
        for (int code = 0; code < 256; ++code)
            if (code != 0x00 && code != 0x10 && code != 0xFD && code != 0xF5)
                link.onReply(uint8_t(code), [this, code] { record(code); });
        link.onBlockReply(0xE0, [this](int k) { blocks.append(0xE0 + k); });
        link.onBlockReply(0xD0, [this](int k) { blocks.append(0xD0 + k); });
        QObject::connect(&link, &DeviceLink::replyDispatched, [this](uint8_t c) { dispatched.append(c); });
        QObject::connect(&link, &DeviceLink::longReplyRecognised,
                         [this](uint8_t c, uint8_t r) { longs.append(c << 8 | r); });
    }
    // A handler sees the reply in the receive buffer while it runs.
    void record(int code)
    {
        handled.append(code);
        QByteArray seen;
        for (int p = 1; p <= 10; ++p)
            seen.append(char(link.rx(p)));
        seenRx.append(seen);
    }
    void feedOneByOne(const QByteArray &b)
    {
        for (char c : b)
            tcp.inject(QByteArray(1, c));
    }

    RecordingView view;
    DeviceLink link{view};
    TestTransport tcp{true};
    QList<int> handled;
    QList<int> blocks;
    QList<int> dispatched;
    QList<int> longs;
    QList<QByteArray> seenRx;
};
} // namespace

TEST_F(Recogniser, EmptyReplyArrivingOneByOneIsRecognisedAtItsFourthByte)
{
    link.setServiceMode(true);
    const QByteArray r = bytes({0x5F, 0x10, 0x00, 0x0D});
    for (int i = 0; i < 3; ++i) {
        tcp.inject(r.mid(i, 1));
        EXPECT_EQ(link.rxCount(), i + 1);
        EXPECT_TRUE(dispatched.isEmpty());
    }
    tcp.inject(r.mid(3, 1));
    EXPECT_EQ(dispatched, QList<int>{0x10});
    EXPECT_EQ(link.rxCount(), 0);
    EXPECT_FALSE(link.serviceMode());
    for (int p = 1; p <= DeviceLink::kBufferSize; ++p)
        ASSERT_EQ(link.rx(p), 0) << p;
}

TEST_F(Recogniser, SixAndSevenByteFormsOfTwoDataBytes)
{
    feedOneByOne(bytes({0x5F, 0x30, 0x02, 0x41, 0x42, 0x0D}));
    ASSERT_EQ(handled, QList<int>{0x30});
    EXPECT_EQ(seenRx[0].left(6), bytes({0x5F, 0x30, 0x02, 0x41, 0x42, 0x0D}));

    // L+5: one more byte before the CR.
    feedOneByOne(bytes({0x5F, 0x31, 0x02, 0x41, 0x42, 0x43}));
    EXPECT_EQ(handled.size(), 1);
    tcp.inject(bytes({0x0D}));
    EXPECT_EQ(handled, (QList<int>{0x30, 0x31}));
    EXPECT_EQ(link.rxCount(), 0);

    // A CR as the sixth byte ends the frame there; the seventh is a stray byte and dropped.
    feedOneByOne(bytes({0x5F, 0x32, 0x02, 0x41, 0x42, 0x0D}));
    EXPECT_EQ(handled.last(), 0x32);
    tcp.inject(bytes({0x0D}));
    EXPECT_EQ(link.rxCount(), 0);
    EXPECT_EQ(handled.size(), 3);
    // The next reply starts cleanly.
    feedOneByOne(bytes({0x5F, 0x33, 0x00, 0x0D}));
    EXPECT_EQ(handled.last(), 0x33);
}

TEST_F(Recogniser, ChunkedDeliveryRecognisesOnlyAtTheEndOfAChunk)
{
    TestTransport serial(false);
    link.setTransport(&serial);
    serial.inject(bytes({0x5F, 0x30, 0x02}));
    EXPECT_EQ(link.rxCount(), 3);
    serial.inject(bytes({0x41, 0x42, 0x0D}));
    EXPECT_EQ(handled, QList<int>{0x30});
    // The 0x0D at position 6 of the seven-byte form is not seen when the chunk runs on past it:
    // the reply completes at its seventh byte, which the handler finds in the buffer.
    serial.inject(bytes({0x5F, 0x31, 0x02, 0x41, 0x42, 0x0D, 0x0D}));
    EXPECT_EQ(handled, (QList<int>{0x30, 0x31}));
    EXPECT_EQ(seenRx[1].left(7), bytes({0x5F, 0x31, 0x02, 0x41, 0x42, 0x0D, 0x0D}));
    EXPECT_EQ(link.rxCount(), 0);
}

TEST_F(Recogniser, SerialChunkIsRecognisedOnceAfterAllItsBytes)
{
    TestTransport serial(false);
    link.setTransport(&serial);
    // A complete reply with one more byte behind it in the same chunk: at the chunk's end the
    // count (5) fits L + 5 but the last byte is no CR, so nothing is recognised and every byte
    // stays in the buffer (byte by byte the reply would have completed at its fourth byte).
    serial.inject(bytes({0x5F, 0x30, 0x00, 0x0D, 0x41}));
    EXPECT_TRUE(handled.isEmpty());
    EXPECT_EQ(link.rxCount(), 5);
    for (int p = 1; p <= 5; ++p)
        EXPECT_EQ(link.rx(p), uint8_t(bytes({0x5F, 0x30, 0x00, 0x0D, 0x41}).at(p - 1))) << p;
    // Further chunks are appended behind it; still no length fits.
    serial.inject(bytes({0x0D}));
    EXPECT_EQ(link.rxCount(), 6);
    EXPECT_TRUE(handled.isEmpty());
    // Only a Cancel (or an overflow) empties it: its next byte starts over.
    link.BtnOtkazClick();
    serial.inject(bytes({0x00}));
    EXPECT_EQ(link.rxCount(), 0);

    // Two whole replies in one chunk: count 8 fits neither reply, so neither is recognised.
    serial.inject(bytes({0x5F, 0x30, 0x00, 0x0D, 0x5F, 0x31, 0x00, 0x0D}));
    EXPECT_TRUE(handled.isEmpty());
    EXPECT_EQ(link.rxCount(), 8);
    EXPECT_EQ(link.rx(5), 0x5F);

    // The same bytes over TCP are recognised one reply at a time.
    link.setTransport(&tcp);
    link.clearRx();
    feedOneByOne(bytes({0x5F, 0x30, 0x00, 0x0D, 0x5F, 0x31, 0x00, 0x0D}));
    EXPECT_EQ(handled, (QList<int>{0x30, 0x31}));
    feedOneByOne(bytes({0x5F, 0x32, 0x00, 0x0D, 0x41}));
    EXPECT_EQ(handled.last(), 0x32);
    EXPECT_EQ(link.rxCount(), 0); // the byte behind it was a stray first byte
}

TEST_F(Recogniser, FullLengthReplyWithLengthByte255)
{
    QByteArray r = bytes({0x5F, 0xE3, 0xFF});
    for (int i = 0; i < 256; ++i)
        r.append(char(i == 255 ? 0x0C : 0x11));
    r.append(char(0x0D));
    ASSERT_EQ(r.size(), 260);
    feedOneByOne(r.left(259));
    EXPECT_TRUE(blocks.isEmpty());
    EXPECT_EQ(link.rxCount(), 259);
    tcp.inject(r.right(1));
    EXPECT_EQ(blocks, QList<int>{0xE3});
    EXPECT_EQ(link.rxCount(), 0);

    // With 0x0D as byte 259 the reply is recognised one byte early over TCP; the final CR is
    // then a stray byte.
    r[258] = 0x0D;
    feedOneByOne(r.left(259));
    EXPECT_EQ(blocks, (QList<int>{0xE3, 0xE3}));
    tcp.inject(r.right(1));
    EXPECT_EQ(link.rxCount(), 0);
    EXPECT_EQ(blocks.size(), 2);
}

TEST_F(Recogniser, StrayFirstBytesAreDroppedAndTheNextByteStartsAFrame)
{
    feedOneByOne(bytes({0x00, 0x0D, 0x41, 0xFF}));
    EXPECT_EQ(link.rxCount(), 0);
    feedOneByOne(bytes({0x13, 0x5F, 0x20, 0x00, 0x0D}));
    EXPECT_EQ(handled, QList<int>{0x20});
}

TEST_F(Recogniser, BlockCodesGoToTheLogoHandlersWithTheBlockNumber)
{
    feedOneByOne(bytes({0x5F, 0xE0, 0x00, 0x0D}));
    feedOneByOne(bytes({0x5F, 0xEF, 0x00, 0x0D}));
    feedOneByOne(bytes({0x5F, 0xD7, 0x00, 0x0D}));
    EXPECT_EQ(blocks, (QList<int>{0xE0, 0xEF, 0xD7}));
    EXPECT_TRUE(handled.isEmpty());
}

TEST_F(Recogniser, ReplyWithoutHandlerOnlyEmptiesTheBuffer)
{
    DeviceLink bare(view);
    TestTransport t;
    bare.setTransport(&t);
    bare.setServiceMode(true);
    view.status = "waiting";
    for (char c : bytes({0x5F, 0x06, 0x00, 0x0D}))
        t.inject(QByteArray(1, c));
    EXPECT_EQ(bare.rxCount(), 0);
    EXPECT_EQ(view.status, "waiting");
    EXPECT_TRUE(view.dialogs.isEmpty());
    EXPECT_TRUE(bare.serviceMode());
}

TEST_F(Recogniser, LongRepliesOfBothKindsWithResultAndStatusWord)
{
    // Result 1: only the progress bar moves.
    feedOneByOne(longReply(0x20, bytes({0x01, 0x00, 0x00, 0x00, 0x01, 0x08})));
    EXPECT_EQ(longs, QList<int>{0x2001});
    EXPECT_TRUE(view.dialogs.isEmpty());
    EXPECT_EQ(view.progress, (QList<int>{16, 0}));
    EXPECT_EQ(link.rxCount(), 0);

    // Result 0: the status word is described.
    feedOneByOne(longReply(0x24, bytes({0x00, 0x00, 0x00, 0x00, 0x01, 0x08})));
    EXPECT_EQ(longs.last(), 0x2400);
    ASSERT_EQ(view.dialogs.size(), 1);
    EXPECT_EQ(view.dialogs[0], err("Грешка! / Nema papira u fiskalnom stampacu(3)/ Pogresna komanda(8)"));

    // Status word 0 with result 0: the prefix alone.
    feedOneByOne(longReply(0x20, bytes({0x00, 0x00, 0x00, 0x00, 0x00, 0x00})));
    EXPECT_EQ(view.dialogs.last(), err("Грешка! "));
    EXPECT_TRUE(handled.isEmpty());
}

TEST_F(Recogniser, OtherLongCommandIsNotRecognised)
{
    const QByteArray r = longReply(0x21, bytes({0x00, 0x00, 0x00, 0x00, 0x00, 0x01}));
    feedOneByOne(r);
    EXPECT_TRUE(longs.isEmpty());
    EXPECT_TRUE(view.dialogs.isEmpty());
    EXPECT_EQ(link.rxCount(), r.size()); // waits for a length that never fits
}

TEST_F(Recogniser, LongFrameCanCompleteAsShortReply)
{
    // 0xAA, 0x04, 0x01 (L = 1), x, y(=0x0D at count 5 = L + 4): dispatched by its second byte.
    feedOneByOne(bytes({0xAA, 0x04, 0x01, 0x12, 0x0D}));
    EXPECT_EQ(handled, QList<int>{0x04});
}

TEST_F(Recogniser, ServiceModeReplies)
{
    const QStringList reads = {"btnRead",       "btnCompanyRead", "btnLogoRead", "btnReadDateTime",
                               "btnReadCliche", "btnARead",       "btnTGRead",   "btnSTRead",
                               "btnORead",      "btnIPRead",      "btnPRead"};
    const QStringList writes = {"btnWrite",   "btnCompanyWrite", "btnLogoWrite", "btnWriteDateTime", "btnWriteCliche",
                                "btnTGWrite", "btnSTWrite",      "btnOWrite",    "btnIPWrite",       "btnPWrite"};
    // Leaving service mode disables every read and write button, btnAWrite among them.
    feedOneByOne(bytes({0x5F, 0x10, 0x02, 0x04, 0x01, 0x0D}));
    EXPECT_FALSE(link.serviceMode());
    EXPECT_EQ(view.status, UiText(Txt::NotInServiceMode));
    EXPECT_EQ(view.enabled.size(), reads.size() + writes.size() + 1);
    for (const QString &n : reads + writes + QStringList{"btnAWrite"})
        EXPECT_FALSE(view.enabled.value(n, true)) << n.toStdString();
    EXPECT_EQ(tcp.closeCount, 0);
    EXPECT_EQ(view.tcpClosed, 0);
    EXPECT_EQ(view.progress, (QList<int>{16, 0}));

    // Entering it enables every read button and disables every write button but btnAWrite.
    view.enabled.clear();
    feedOneByOne(bytes({0x5F, 0x00, 0x02, 0x04, 0x01, 0x0D}));
    EXPECT_TRUE(link.serviceMode());
    EXPECT_EQ(view.status, UiText(Txt::InServiceMode));
    for (const QString &n : reads)
        EXPECT_TRUE(view.enabled.value(n, false)) << n.toStdString();
    for (const QString &n : writes)
        EXPECT_FALSE(view.enabled.value(n, true)) << n.toStdString();
    EXPECT_FALSE(view.enabled.contains("btnAWrite"));
    EXPECT_EQ(view.enabled.size(), reads.size() + writes.size());
    EXPECT_EQ(view.progress, (QList<int>{16, 0, 16, 0}));
}

TEST_F(Recogniser, LeaveServiceModeReplyClosesTcpWhenDisconnectWasAsked)
{
    link.setDisconnectAfterExit(true);
    feedOneByOne(bytes({0x5F, 0x10, 0x00, 0x0D}));
    EXPECT_EQ(tcp.closeCount, 1);
    EXPECT_EQ(view.tcpClosed, 1);
    EXPECT_FALSE(link.disconnectAfterExit());
    EXPECT_FALSE(link.serviceMode());
}

TEST_F(Recogniser, NotZeroedReplyWithRightAndWrongModel)
{
    link.setServiceMode(false);
    feedOneByOne(bytes({0x5F, 0xFD, 0x02, 0x04, 0x02, 0x0D}));
    EXPECT_EQ(view.dialogs.last(), err(UiText(Txt::WrongModel)));
    EXPECT_FALSE(link.serviceMode());
    EXPECT_TRUE(view.enabled.isEmpty());

    feedOneByOne(bytes({0x5F, 0xFD, 0x02, 0x04, 0x01, 0x0D}));
    EXPECT_EQ(view.dialogs.last(), err("Каса није нулирана. Направите дневни извештај"));
    EXPECT_TRUE(link.serviceMode());
    EXPECT_EQ(view.status, UiText(Txt::InServiceMode));
    EXPECT_TRUE(view.enabled.value("btnReadDateTime"));
    EXPECT_FALSE(view.enabled.value("btnWriteDateTime", true));
    EXPECT_EQ(view.enabled.size(), 2);
    EXPECT_EQ(view.progress.last(), 0);
}

TEST_F(Recogniser, ErrorReplyCodesAndModel)
{
    view.status = "Молим сачекајте...";
    feedOneByOne(bytes({0x5F, 0xF5, 0x03, 0x04, 0x01, 17, 0x0D}));
    EXPECT_EQ(view.dialogs.last(), err("Сервисни џампер није стављен"));
    feedOneByOne(bytes({0x5F, 0xF5, 0x03, 0x04, 0x01, 19, 0x0D}));
    EXPECT_EQ(view.dialogs.last(), err("Покушајте поново !!!"));
    feedOneByOne(bytes({0x5F, 0xF5, 0x03, 0x04, 0x01, 0, 0x0D}));
    EXPECT_EQ(view.dialogs.last(), err("Покушајте поново !!!"));
    feedOneByOne(bytes({0x5F, 0xF5, 0x03, 0x04, 0x02, 17, 0x0D}));
    EXPECT_EQ(view.dialogs.last(), err(UiText(Txt::WrongModel)));
    EXPECT_EQ(view.status, "Молим сачекајте...");
    EXPECT_TRUE(link.serviceMode());
    EXPECT_EQ(view.progress, (QList<int>{16, 0, 16, 0, 16, 0, 16, 0}));
}

TEST_F(Recogniser, CancelDropsTheReplyInFlight)
{
    feedOneByOne(bytes({0x5F, 0x80, 0x04, 0x01}));
    link.BtnOtkazClick();
    EXPECT_TRUE(link.cancelFlag());
    EXPECT_FALSE(link.replyPending());
    EXPECT_FALSE(view.cancelVisible);
    feedOneByOne(bytes({0x02, 0x03, 0x04, 0x0D}));
    EXPECT_TRUE(handled.isEmpty());
    EXPECT_FALSE(link.cancelFlag());
    EXPECT_EQ(link.rxCount(), 0);
    feedOneByOne(bytes({0x5F, 0x85, 0x00, 0x0D}));
    EXPECT_EQ(handled, QList<int>{0x85});
}

TEST_F(Recogniser, CancelBeforeAStartByteOfTheReply)
{
    link.BtnOtkazClick();
    // The first byte after Cancel empties the buffer even when it is a start byte...
    feedOneByOne(bytes({0x5F, 0x80, 0x00, 0x0D}));
    // ...and what follows it are stray bytes.
    EXPECT_TRUE(handled.isEmpty());
    EXPECT_EQ(link.rxCount(), 0);
}

TEST_F(Recogniser, OverflowNeverWritesPastTheBufferAndStartsOver)
{
    // A frame that can never complete: length 0 but no CR at position 4 or 5.
    QByteArray junk = bytes({0x5F, 0x30, 0x00});
    junk.append(QByteArray(257, char(0x41)));
    ASSERT_EQ(junk.size(), 260);
    feedOneByOne(junk);
    EXPECT_EQ(link.rxCount(), 260);
    // The 261st byte starts a new collection at position 1.
    feedOneByOne(bytes({0x5F, 0x31, 0x00, 0x0D}));
    EXPECT_EQ(handled, QList<int>{0x31});

    // The same over serial, with the whole overflow in one chunk.
    TestTransport serial(false);
    link.setTransport(&serial);
    serial.inject(junk + bytes({0x5F, 0x32, 0x00, 0x0D}));
    EXPECT_EQ(handled, (QList<int>{0x31, 0x32}));
}

TEST_F(Recogniser, LongReplyDeclaringMoreThan260BytesIsNotAccepted)
{
    QByteArray data(255, char(0x01));
    data[0] = 0x00; // result 0 would open the error dialog
    const QByteArray r = longReply(0x20, data);
    ASSERT_EQ(r.size(), 267);
    feedOneByOne(r);
    EXPECT_TRUE(longs.isEmpty());
    EXPECT_TRUE(view.dialogs.isEmpty());
    EXPECT_LE(link.rxCount(), DeviceLink::kBufferSize);
    // The longest one that fits (N = 248, 260 bytes) is accepted.
    QByteArray fits(248, char(0x01));
    link.clearRx();
    feedOneByOne(longReply(0x20, fits));
    EXPECT_EQ(longs, QList<int>{0x2001});
}

TEST_F(Recogniser, BytesArrivingWhileAHandlerDialogIsOpenAreRecognisedAfterwards)
{
    // The handler of 0x30 reads its data only after its dialog closes.
    QByteArray afterDialog;
    link.onReply(0x30, [&] {
        view.showDialog("t", "x", false);
        for (int p = 1; p <= 6; ++p)
            afterDialog.append(char(link.rx(p)));
    });
    // While the dialog is open the rest of the stream arrives: the CR of the second reply and a
    // whole third reply.
    view.whileDialogOpen = [&] {
        view.whileDialogOpen = nullptr;
        tcp.inject(bytes({0x0D}));
        tcp.inject(bytes({0x5F, 0x40, 0x01, 0x55, 0x0D}));
        EXPECT_TRUE(dispatched.isEmpty()); // nothing is recognised while the dialog is open
    };
    // The first reply and the beginning of the second come in one delivery.
    tcp.inject(bytes({0x5F, 0x30, 0x02, 0x41, 0x42, 0x0D, 0x5F, 0x41, 0x00}));
    EXPECT_EQ(afterDialog, bytes({0x5F, 0x30, 0x02, 0x41, 0x42, 0x0D}));
    EXPECT_EQ(dispatched, (QList<int>{0x30, 0x41, 0x40}));
    EXPECT_EQ(link.rxCount(), 0);
}

TEST_F(Recogniser, BytesArrivingDuringTheLongReplyDialogWaitForIt)
{
    view.whileDialogOpen = [&] {
        view.whileDialogOpen = nullptr;
        tcp.inject(bytes({0x5F, 0x10, 0x00, 0x0D}));
        EXPECT_TRUE(dispatched.isEmpty());
    };
    tcp.inject(longReply(0x20, bytes({0x00, 0x00, 0x00, 0x00, 0x00, 0x01})));
    EXPECT_EQ(view.dialogs.size(), 1);
    EXPECT_EQ(dispatched, QList<int>{0x10});
}

TEST_F(Recogniser, RandomStreamsNeverOverrunTheBuffer)
{
    // Random bytes, biased towards start bytes, CRs and small lengths so that frames of every kind
    // (and broken ones) occur; the count must stay within the buffer whatever arrives.
    QRandomGenerator rng(20240611);
    const uint8_t interesting[] = {0x5F, 0xAA, 0x0D, 0x00, 0x01, 0x02, 0x20, 0x24, 0xFF, 0xF5, 0xFD, 0x10};
    TestTransport serial(false);
    int maxCount = 0;
    for (int round = 0; round < 400; ++round) {
        const bool chunked = round % 2;
        link.setTransport(chunked ? static_cast<Transport *>(&serial) : &tcp);
        if (round % 7 == 0)
            link.BtnOtkazClick();
        QByteArray chunk;
        const int n = int(rng.bounded(1, 600));
        for (int i = 0; i < n; ++i)
            chunk.append(
                char(rng.bounded(3) == 0 ? interesting[rng.bounded(int(sizeof interesting))] : rng.bounded(256)));
        (chunked ? serial : tcp).inject(chunk);
        maxCount = std::max(maxCount, link.rxCount());
        ASSERT_GE(link.rxCount(), 0);
        ASSERT_LE(link.rxCount(), DeviceLink::kBufferSize);
    }
    EXPECT_GT(maxCount, 0);
    EXPECT_FALSE(handled.isEmpty() && longs.isEmpty() && dispatched.isEmpty());
}

TEST_F(Recogniser, LostConnectionIsActedOnAfterTheBytesThatCameBeforeIt)
{
    link.onReply(0x30, [&] {
        record(0x30);
        view.showDialog("t", "x", false);
    });
    // While the handler's dialog is open the rest of a reply arrives, then the connection goes.
    view.whileDialogOpen = [&] {
        view.whileDialogOpen = nullptr;
        tcp.inject(bytes({0x00, 0x0D}));
        tcp.drop();
        EXPECT_EQ(view.connectionsClosed, 0);
    };
    QList<int> handledWhenClosed;
    view.onConnectionClosed = [&] { handledWhenClosed = handled; };
    link.SendAwaitingReply(0x31, 4);
    tcp.inject(bytes({0x5F, 0x30, 0x00, 0x0D, 0x5F, 0x40}));
    EXPECT_EQ(handled, (QList<int>{0x30, 0x40}));
    EXPECT_EQ(handledWhenClosed, (QList<int>{0x30, 0x40}));
    EXPECT_EQ(view.connectionsClosed, 1);
    EXPECT_EQ(view.dialogs.last(), err("Веза са фискалним принтером је прекинута."));
    EXPECT_EQ(view.status, "Веза са фискалним принтером је прекинута.");
    EXPECT_FALSE(view.cancelVisible);
    EXPECT_FALSE(link.replyTimer().isActive());
    EXPECT_FALSE(link.replyPending());

    // A partial reply in the buffer does not survive the connection.
    tcp.setOpen(true);
    tcp.inject(bytes({0x5F, 0x30, 0x05}));
    tcp.drop();
    EXPECT_EQ(link.rxCount(), 0);
    EXPECT_EQ(view.connectionsClosed, 2);
}

TEST_F(Recogniser, SilentDeviceStillClosesTheConnectionAfterTheNoAnswerNotice)
{
    // A disconnect asked for in service mode waits for 0x10; the timer runs out instead.
    link.SendAwaitingReply(0x10, 4);
    link.setDisconnectAfterExit(true);
    link.TimerTimer();
    EXPECT_EQ(view.dialogs,
              QStringList{err(UiText(Txt::NoAnswer) + "\n" + ToolText::noAnswerDetail("5f 10 00 0d", {}, {}))});
    EXPECT_EQ(tcp.closeCount, 1);
    EXPECT_EQ(view.tcpClosed, 1);
    EXPECT_FALSE(link.disconnectAfterExit());

    // A late 0x10 during the notice does not close a second time.
    tcp.setOpen(true);
    link.SendAwaitingReply(0x10, 4);
    link.setDisconnectAfterExit(true);
    view.whileDialogOpen = [&] {
        view.whileDialogOpen = nullptr;
        tcp.inject(bytes({0x5F, 0x10, 0x00, 0x0D}));
    };
    link.replyTimer().stop();
    link.setReplyPending(true);
    link.TimerTimer();
    EXPECT_EQ(tcp.closeCount, 2);
    EXPECT_EQ(view.tcpClosed, 2);
    EXPECT_FALSE(link.serviceMode());
}
