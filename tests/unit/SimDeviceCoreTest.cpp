// The simulated printer's core: framing of requests, service mode, login, self-tests, refusals,
// options and saved state; the fault injector and the line-speed pacing of a session.
#include "FaultInjector.h"
#include "LongFrame.h"
#include "SimFrameReader.h"
#include "SimSession.h"
#include "SimulatedDevice.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {
QByteArray hex(const char *h)
{
    return QByteArray::fromHex(h);
}
const QByteArray kLogin = BuildLongFrame("123456", 0x01, QByteArray(1, 0x01));
} // namespace

TEST(SimDeviceCore, LoginEntersServiceModeAndAnswers00OrFD)
{
    SimulatedDevice d;
    d.setServiceMode(false);
    EXPECT_EQ(d.feed(kLogin).toHex(' '), "5f 00 02 04 01 0d");
    EXPECT_TRUE(d.serviceMode());
    EXPECT_EQ(d.factoryBytes().toHex(), "123456");

    d.setServiceMode(false);
    d.setZeroed(false);
    EXPECT_EQ(d.feed(kLogin).toHex(' '), "5f fd 02 04 01 0d");
    EXPECT_TRUE(d.serviceMode());
}

TEST(SimDeviceCore, LeaveServiceModeThenDataCommandsAreRefused)
{
    SimulatedDevice d;
    EXPECT_EQ(d.feed(hex("5f10000d")).toHex(' '), "5f 10 02 04 01 0d");
    EXPECT_FALSE(d.serviceMode());
    EXPECT_EQ(d.feed(hex("5f30000d")).toHex(' '), "5f f5 03 04 01 11 0d"); // code 17
    EXPECT_EQ(d.feed(hex("5f90010d0d")).toHex(' '), "5f f5 03 04 01 11 0d");
}

TEST(SimDeviceCore, ForcedErrorRefusesDataCommandsInServiceMode)
{
    SimulatedDevice d;
    d.setForcedError(14);
    EXPECT_EQ(d.feed(hex("5f30000d")).toHex(' '), "5f f5 03 04 01 0e 0d");
    // Login and leaving service mode still work.
    EXPECT_EQ(d.feed(kLogin).toHex(' '), "5f 00 02 04 01 0d");
    EXPECT_EQ(d.feed(hex("5f10000d")).toHex(' '), "5f 10 02 04 01 0d");
}

TEST(SimDeviceCore, SelfTestsAnswerLongReply20WithStatusWord)
{
    SimulatedDevice d;
    const QByteArray ok = d.feed(BuildLongFrame("123456", 0x1A));
    ASSERT_EQ(ok.size(), 18);
    EXPECT_EQ(ok.left(10).toHex(' '), "aa 04 01 12 34 56 01 20 06 01");
    d.setSelfTestStatus(0x00000108);
    const QByteArray bad = d.feed(BuildLongFrame("123456", 0x1C));
    EXPECT_EQ(bad.mid(9, 6).toHex(' '), "00 00 00 00 01 08");
    // Sum and exclusive-or cover everything before them.
    uint8_t sum = 0, x = 0;
    for (int i = 0; i < bad.size() - 3; ++i)
        sum = uint8_t(sum + uint8_t(bad[i])), x = uint8_t(x ^ uint8_t(bad[i]));
    EXPECT_EQ(uint8_t(bad[bad.size() - 3]), sum);
    EXPECT_EQ(uint8_t(bad[bad.size() - 2]), x);
    EXPECT_EQ(uint8_t(bad.back()), 0x0D);
    // An unknown long command: result 0, "wrong command" (bit 8).
    EXPECT_EQ(d.feed(BuildLongFrame("123456", 0x33)).mid(9, 6).toHex(' '), "00 00 00 00 01 00");
}

TEST(SimDeviceCore, FramingSkipsGarbageAndWaitsForSplitFrames)
{
    SimulatedDevice d;
    EXPECT_TRUE(d.feed(hex("0102035f10")).isEmpty());
    EXPECT_EQ(d.feed(hex("000d")).toHex(' '), "5f 10 02 04 01 0d");
    // A long frame with a wrong checksum is not taken; the valid one after it is.
    QByteArray broken = kLogin;
    broken[10] = char(broken[10] ^ 1);
    d.setServiceMode(false);
    EXPECT_EQ(d.feed(broken + kLogin).toHex(' '), "5f 00 02 04 01 0d");
    // Two requests in one delivery get two replies, split apart by feedEach.
    const QList<QByteArray> each = d.feedEach(hex("5f10000d") + kLogin);
    ASSERT_EQ(each.size(), 2);
    EXPECT_EQ(each[0].toHex(' '), "5f 10 02 04 01 0d");
    EXPECT_EQ(each[1].toHex(' '), "5f 00 02 04 01 0d");

    SimFrameReader r;
    r.append(QByteArray(10000, char(0x5F)));
    SimRequest req;
    while (r.take(req)) {
    }
    EXPECT_LE(r.pendingSize(), SimFrameReader::kMaxPending);
}

TEST(SimDeviceCore, SavedState)
{
    SimulatedDevice d;

    QTemporaryDir dir;
    const QString path = dir.filePath("state.json");
    d.setServiceMode(false);
    d.setZeroed(false);
    ASSERT_TRUE(d.saveToFile(path));
    SimulatedDevice e;
    ASSERT_TRUE(e.loadFromFile(path));
    EXPECT_FALSE(e.serviceMode());
    EXPECT_FALSE(e.zeroed());
    QString error;
    EXPECT_FALSE(e.loadFromFile(dir.filePath("missing.json"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(FaultInjectorTest, DropGarbageAndSilence)
{
    const QByteArray reply = hex("5f10000d");
    FaultInjector drop;
    drop.setDropReplyEvery(3);
    QList<bool> sent;
    for (int i = 0; i < 6; ++i)
        sent.append(!drop.apply(reply).isEmpty());
    EXPECT_EQ(sent, (QList<bool>{true, true, false, true, true, false}));
    EXPECT_EQ(drop.droppedReplies(), 2u);
    EXPECT_EQ(drop.garbageReplies() + drop.silencedReplies(), 0u);

    FaultInjector garbage;
    garbage.setGarbageEvery(2);
    EXPECT_EQ(garbage.apply(reply), reply);
    quint64 leadBytes = 0;
    for (int i = 0; i < 50; ++i) {
        const QByteArray g = garbage.apply(reply);
        if (i % 2 == 0) {
            ASSERT_GT(g.size(), reply.size());
            ASSERT_LE(g.size(), reply.size() + 8);
            EXPECT_TRUE(g.endsWith(reply));
            const QByteArray lead = g.left(g.size() - reply.size());
            EXPECT_FALSE(lead.contains(char(0x5F)) || lead.contains(char(0xAA)));
            leadBytes += quint64(lead.size());
        } else {
            EXPECT_EQ(g, reply);
        }
    }
    // The counters say what was really sent: 25 replies behind garbage, every garbage byte counted.
    EXPECT_EQ(garbage.garbageReplies(), 25u);
    EXPECT_EQ(garbage.garbageBytes(), leadBytes);
    EXPECT_EQ(garbage.droppedReplies(), 0u);

    FaultInjector silent;
    silent.setSilentAfter(2);
    EXPECT_FALSE(silent.apply(reply).isEmpty());
    EXPECT_FALSE(silent.apply(reply).isEmpty());
    EXPECT_TRUE(silent.apply(reply).isEmpty());
    EXPECT_TRUE(silent.apply(reply).isEmpty());
    EXPECT_EQ(silent.silencedReplies(), 2u);
    EXPECT_EQ(silent.requestCount(), 4u);
    FaultInjector never;
    never.setSilentAfter(0);
    EXPECT_TRUE(never.apply(reply).isEmpty());
    EXPECT_EQ(never.silencedReplies(), 1u);
}

TEST(SimSessionTest, UnpacedAnswersAtOnceAndFaultsApply)
{
    SimulatedDevice d;
    FaultInjector f;
    f.setDropReplyEvery(2);
    QByteArray out;
    SimSession s(
        d, [&](const QByteArray &b) { out += b; }, &f);
    QList<QByteArray> answered;
    QObject::connect(&s, &SimSession::requestAnswered,
                     [&](const QByteArray &req, const QByteArray &sent) { answered.append(req + "|" + sent); });
    s.input(hex("5f10"));
    EXPECT_TRUE(out.isEmpty());
    s.input(hex("000d5f10000d"));
    EXPECT_EQ(out.toHex(' '), "5f 10 02 04 01 0d"); // the second reply was dropped
    ASSERT_EQ(answered.size(), 2);
    EXPECT_EQ(answered[1], hex("5f10000d") + "|");
}

TEST(SimSessionTest, PacedSessionHoldsRequestsAndRepliesForTheirLineTime)
{
    // 1200 baud: 120 bytes per second. A 4-byte request takes 33 ms on the line, the 6-byte
    // reply 50 ms, so nothing of the reply can have left before about 83 ms.
    SimulatedDevice d;
    QByteArray out;
    QElapsedTimer clock;
    qint64 firstByteAt = -1;
    SimSession s(d, [&](const QByteArray &b) {
        if (firstByteAt < 0)
            firstByteAt = clock.elapsed();
        out += b;
    });
    s.setBaud(1200);
    int answered = 0;
    QObject::connect(&s, &SimSession::requestAnswered, [&] { ++answered; });
    clock.start();
    s.input(hex("5f10000d"));
    EXPECT_EQ(answered, 0); // not yet received
    QElapsedTimer wait;
    wait.start();
    while (out.size() < 6 && wait.elapsed() < 5000)
        QTest::qWait(2);
    EXPECT_EQ(out.toHex(' '), "5f 10 02 04 01 0d");
    EXPECT_EQ(answered, 1);
    EXPECT_GE(firstByteAt, 33);     // the request's line time passed before it was answered
    EXPECT_GE(clock.elapsed(), 80); // and the reply took its own line time
    EXPECT_EQ(s.queuedOutput(), 0);
}
