// The simulated printer's article slots and cashiers: both chains, skipped numbers, refusals, saved state.
#include "SimArticles.h"
#include "SimulatedDevice.h"

#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {
QByteArray frame(uint8_t code, const QByteArray &data)
{
    return SimulatedDevice::shortReply(code, data); // requests are framed the same way
}

QByteArray number(int n)
{
    return QByteArray(1, char(n & 0xFF)) + char((n >> 8) & 0xFF);
}

int replyNumber(const QByteArray &reply)
{
    return uint8_t(reply.at(3)) | (uint8_t(reply.at(4)) << 8);
}

QByteArray record(int n, char nameByte, uint8_t department = 2, uint8_t tax = 3)
{
    QByteArray r = SimArticles::blankArticle(n);
    r[2] = nameByte;
    r[35] = char(department);
    r[36] = char(0x39), r[37] = char(0x30);
    r[41] = char(tax);
    return r;
}

struct Device {
    SimulatedDevice device;
    SimArticles &articles() { return *device.module<SimArticles>(); }
};
} // namespace

TEST(SimArticles, ReadAnswersTheArticleAskedForAndBlankSlots)
{
    Device d;
    ASSERT_TRUE(d.articles().setArticle(2, record(2, 'x')));
    QByteArray reply = d.device.feed(frame(0x80, number(2)));
    ASSERT_EQ(reply.size(), 54);
    EXPECT_EQ(uint8_t(reply.at(1)), 0x80);
    EXPECT_EQ(uint8_t(reply.at(2)), 50);
    EXPECT_EQ(reply.mid(3, 50), record(2, 'x'));
    reply = d.device.feed(frame(0x80, number(60000)));
    EXPECT_EQ(reply.mid(3, 50), SimArticles::blankArticle(60000));
    EXPECT_EQ(reply.mid(3 + 42, 8), QByteArray(8, char(0xFF)));
    // Numbers outside the table are refused.
    EXPECT_EQ(d.device.feed(frame(0x80, number(0))), SimulatedDevice::errorReply(16));
    EXPECT_EQ(d.device.feed(frame(0x80, number(60001))), SimulatedDevice::errorReply(16));
}

TEST(SimArticles, WriteStoresAndAsksForTheNextNumber)
{
    Device d;
    QByteArray reply = d.device.feed(frame(0x85, record(1, 'a')));
    EXPECT_EQ(uint8_t(reply.at(1)), 0x85);
    EXPECT_EQ(replyNumber(reply), 2);
    EXPECT_EQ(d.articles().article(1), record(1, 'a'));
    reply = d.device.feed(frame(0x85, record(60000, 'z')));
    EXPECT_EQ(replyNumber(reply), 60001);
    EXPECT_EQ(d.articles().articleWrites(), 2);
    // A department above 10, a tax index above 8 or a number outside the table is refused.
    EXPECT_EQ(d.device.feed(frame(0x85, record(5, 'b', 10))), SimulatedDevice::errorReply(16));
    EXPECT_EQ(d.device.feed(frame(0x85, record(5, 'b', 0xFF))), SimulatedDevice::errorReply(16));
    EXPECT_EQ(d.device.feed(frame(0x85, record(5, 'b', 2, 9))), SimulatedDevice::errorReply(16));
    QByteArray zero = record(5, 'b');
    zero[0] = zero[1] = 0;
    EXPECT_EQ(d.device.feed(frame(0x85, zero)), SimulatedDevice::errorReply(16));
    EXPECT_EQ(d.articles().article(5), SimArticles::blankArticle(5));
}

TEST(SimArticles, NumberingStepSkipsNumbersInBothChains)
{
    Device d;
    d.articles().setArticleStep(3); // the device keeps 1, 4, 7, ... 59998
    auto readNumber = [&](int asked) { return replyNumber(d.device.feed(frame(0x80, number(asked)))); };
    EXPECT_EQ(readNumber(1), 1);
    EXPECT_EQ(readNumber(2), 4);
    EXPECT_EQ(readNumber(5), 7);
    EXPECT_EQ(readNumber(7), 7);
    EXPECT_EQ(readNumber(59998), 59998);
    EXPECT_EQ(readNumber(59999), 60001); // past the last one: the end of the chain
    EXPECT_EQ(replyNumber(d.device.feed(frame(0x85, record(1, 'a')))), 4);
    EXPECT_EQ(replyNumber(d.device.feed(frame(0x85, record(59998, 'a')))), 60001);
    d.articles().setArticleStep(0);
    EXPECT_EQ(d.articles().articleStep(), 1);
}

TEST(SimArticles, Cashiers)
{
    Device d;
    // Undefined names read as FF FF.
    QByteArray reply = d.device.feed(frame(0x90, QByteArray(1, char(5))));
    ASSERT_EQ(reply.size(), 37);
    EXPECT_EQ(uint8_t(reply.at(3)), 5);
    EXPECT_EQ(reply.mid(4, 2), QByteArray(2, char(0xFF)));

    QByteArray write(34, '\0');
    write[0] = char(5);
    write.replace(1, 5, "Marko");
    reply = d.device.feed(frame(0x95, write));
    EXPECT_EQ(reply, SimulatedDevice::shortReply(0x95, QByteArray(1, char(6))));
    EXPECT_EQ(d.articles().cashier(5).value(), "Marko");
    reply = d.device.feed(frame(0x90, QByteArray(1, char(5))));
    EXPECT_EQ(reply.mid(4, 32), QByteArray("Marko") + QByteArray(27, '\0'));

    // The last cashier is acknowledged without asking for a 65th.
    write[0] = char(64);
    EXPECT_EQ(d.device.feed(frame(0x95, write)), SimulatedDevice::ack());
    EXPECT_EQ(d.device.feed(frame(0x90, QByteArray(1, char(65)))), SimulatedDevice::errorReply(16));
    write[0] = char(0);
    EXPECT_EQ(d.device.feed(frame(0x95, write)), SimulatedDevice::errorReply(16));
}

TEST(SimArticles, StateSurvivesSaveAndLoad)
{
    Device d;
    d.articles().setArticle(3, record(3, 'q'));
    d.articles().setArticle(59999, record(59999, char(0xC6)));
    d.articles().setCashier(1, QByteArray("\xCF\xE5\xF0\xE0")); // Пера
    const QJsonObject saved = d.device.saveState();
    // Only the two changed slots are kept: the saved article state stays small.
    EXPECT_LT(QJsonDocument(saved["articles"].toObject()).toJson(QJsonDocument::Compact).size(), 2000);

    Device e;
    e.articles().setArticle(10, record(10, 'w'));
    e.device.loadState(saved);
    EXPECT_EQ(e.articles().article(3), record(3, 'q'));
    EXPECT_EQ(e.articles().article(59999), record(59999, char(0xC6)));
    EXPECT_EQ(e.articles().article(10), SimArticles::blankArticle(10));
    EXPECT_EQ(e.articles().cashier(1).value(), QByteArray("\xCF\xE5\xF0\xE0"));
    EXPECT_FALSE(e.articles().cashier(2).has_value());
}

TEST(SimArticles, ChainsStartAtAnyNumber)
{
    Device d;
    // A read may begin anywhere, and a write of any number is stored and asks for the one after it.
    EXPECT_EQ(replyNumber(d.device.feed(frame(0x80, number(300)))), 300);
    EXPECT_EQ(replyNumber(d.device.feed(frame(0x85, record(300, 'a')))), 301);
    EXPECT_EQ(d.articles().article(300), record(300, 'a'));
    EXPECT_EQ(d.articles().article(299), SimArticles::blankArticle(299));

    // With a step the write asks for the next number the device keeps, also from a number off its grid.
    d.articles().setArticleStep(3); // 1, 4, 7, 10, ...
    EXPECT_EQ(replyNumber(d.device.feed(frame(0x85, record(5, 'b')))), 7);
    EXPECT_EQ(replyNumber(d.device.feed(frame(0x85, record(6, 'c')))), 7);
    EXPECT_EQ(replyNumber(d.device.feed(frame(0x85, record(7, 'd')))), 10);
    EXPECT_EQ(d.articles().article(5), record(5, 'b'));
    EXPECT_EQ(replyNumber(d.device.feed(frame(0x85, record(59999, 'e')))), 60001);
}
