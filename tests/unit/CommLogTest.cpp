// The communication log without a window: the lines of a scripted exchange over the link, with
// garbage, an error reply and a dropped partial frame; the bound of the log; the no-answer
// message that names what was sent.
#include "CommLog.h"
#include "CommLogLine.h"
#include "Device.h"
#include "DeviceErrors.h"
#include "DeviceLink.h"
#include "RecordingView.h"
#include "TestTransport.h"
#include "ToolText.h"
#include "UiText.h"

#include <QCoreApplication>
#include <QDateTime>

#include <gtest/gtest.h>

namespace {
QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// Every line of the log without its time ("12:34:56.789 "), which the script cannot know.
QStringList untimed(const CommLog &log)
{
    QStringList lines;
    for (quint64 n = log.first(); n < log.end(); ++n) {
        const QString line = QString::fromUtf8(CommLogLine::format(log.entry(n)));
        lines << line.mid(13).chopped(1);
    }
    return lines;
}

struct LinkOnTestTransport {
    explicit LinkOnTestTransport(bool eachByte) : transport(eachByte)
    {
        link.resetState();
        link.setTransport(&transport);
    }
    RecordingView view;
    DeviceLink link{view};
    Device device{link};
    TestTransport transport;
    CommLog log{link};
};
} // namespace

TEST(CommLog, ListsExactlyTheFramesOfAScriptedExchange)
{
    for (const bool eachByte : {true, false}) {
        SCOPED_TRACE(eachByte ? "byte by byte (TCP)" : "in chunks (serial)");
        LinkOnTestTransport t(eachByte);
        t.link.SendFrame(0x30, 4);
        // A modem's answer instead of a reply: no start byte, thrown away.
        t.transport.inject("AT\r\n");
        // The device refuses: error reply with the model identifier and code 17.
        t.transport.inject(hex("5ff5030401110d"));
        t.link.setTx(4, 0x34);
        t.link.setTx(5, 0x12);
        t.link.SendFrame(0x80, 6);
        // A long reply with result 0: the texts of status bits 3 and 8.
        QByteArray status = hex("aa0401123456012006000000000108");
        uint8_t sum = 0, x = 0;
        for (char c : status)
            sum = uint8_t(sum + uint8_t(c)), x = uint8_t(x ^ uint8_t(c));
        t.transport.inject(status + char(sum) + char(x) + hex("0d"));
        // The write chain's answer: the next article the device wants.
        t.transport.inject(hex("5f8502a00f0d"));
        // Half a reply, then the connection goes: the partial frame is dropped.
        t.transport.inject(hex("5f3005"));
        t.transport.drop();
        QCoreApplication::processEvents();

        const QStringList expected = {
            "-> 5f 30 00 0d  (read taxpayer)",
            "<- 41 54 0d 0a  (discarded: no start byte)",
            "<- 5f f5 03 04 01 11 0d  (error: " + DeviceErrorCodeText(17) + ")",
            "-> 5f 80 02 34 12 0d  (read article 4660)",
            "<- " + QString::fromLatin1((status + char(sum) + char(x) + hex("0d")).toHex(' ')) +
                "  (long reply: Грешка! " + DescribeDeviceError(0, 0, 1, 8) + ")",
            "<- 5f 85 02 a0 0f 0d  (write article, next 4000)",
            "<- 5f 30 05  (discarded: incomplete frame)",
        };
        EXPECT_EQ(untimed(t.log), expected);
    }
}

TEST(CommLog, MarksBytesDroppedAfterCancelAndFramesTooLongForTheBuffer)
{
    LinkOnTestTransport t(true);
    t.link.SendFrame(0x70, 4);
    t.link.BtnOtkazClick();
    // The reply in flight after Cancel: its first byte is thrown away, then the rest has no start byte.
    t.transport.inject(hex("5f7001000d"));
    // A frame whose end never fits: 260 bytes are collected, then thrown away as one run.
    QByteArray endless = hex("5f80ff");
    endless.append(QByteArray(300, '\x01'));
    t.transport.inject(endless);
    const QStringList lines = untimed(t.log);
    ASSERT_GE(lines.size(), 4) << lines.join('\n').toStdString();
    EXPECT_EQ(lines[0], "-> 5f 70 00 0d  (read tax groups)");
    EXPECT_EQ(lines[1], "<- 5f  (discarded: after cancel)");
    EXPECT_EQ(lines[2], "<- 70 01 00 0d  (discarded: no start byte)");
    EXPECT_TRUE(lines[3].startsWith("<- 5f 80 ff 01 01")) << lines[3].toStdString();
    EXPECT_TRUE(lines[3].endsWith("(discarded: frame too long)")) << lines[3].toStdString();
    EXPECT_EQ(lines[3].section("  (", 0, 0).mid(3).split(' ').size(), 260) << "one run of the 260 buffered bytes";
}

TEST(CommLog, KeepsTheNewestEntriesAndNumbersThemAcrossDropsAndClears)
{
    RecordingView view;
    DeviceLink link(view);
    CommLog log(link, 3);
    for (int i = 0; i < 5; ++i)
        log.add(CommLogEntry{0, CommLogEntry::Kind::Sent, DeviceLink::Discard::NoStartByte, QByteArray(1, char(i))});
    EXPECT_EQ(log.size(), 3);
    EXPECT_EQ(log.first(), 2u);
    EXPECT_EQ(log.end(), 5u);
    EXPECT_EQ(log.entry(2).bytes, QByteArray(1, char(2)));
    EXPECT_EQ(log.entry(4).bytes, QByteArray(1, char(4)));
    log.clear();
    EXPECT_EQ(log.size(), 0);
    EXPECT_EQ(log.first(), 5u);
    log.add(CommLogEntry{0, CommLogEntry::Kind::Received, DeviceLink::Discard::NoStartByte, "x"});
    EXPECT_EQ(log.first(), 5u);
    EXPECT_EQ(log.end(), 6u);
}

TEST(CommLog, LineHasTimeWithMillisecondsDirectionAndBytes)
{
    const QDateTime when(QDate(2026, 3, 4), QTime(8, 4, 11, 648));
    const CommLogEntry sent{when.toMSecsSinceEpoch(), CommLogEntry::Kind::Sent, DeviceLink::Discard::NoStartByte,
                            hex("5f70000d")};
    EXPECT_EQ(CommLogLine::format(sent), "08:04:11.648 -> 5f 70 00 0d  (read tax groups)\n");
    // An error reply of another model says so rather than guessing the code's text.
    EXPECT_EQ(CommLogLine::describe(hex("5ff50304021100"), false), "error: " + UiText(Txt::WrongModel));
    // A frame shorter than its fields names its command only.
    EXPECT_EQ(CommLogLine::describe(hex("5f80"), true), "read article");
}

TEST(NoAnswerMessage, NamesWhatWasSentAndWhatToCheck)
{
    LinkOnTestTransport t(true);
    t.link.replyTimer().setInterval(1);
    t.link.SendAwaitingReply(0x30, 4);
    t.link.TimerTimer();
    ASSERT_EQ(t.view.dialogs.size(), 1);
    EXPECT_EQ(t.view.dialogs[0], UiText(Txt::TitleError) + "|" + UiText(Txt::NoAnswer) + "\n" +
                                     ToolText::noAnswerDetail("5f 30 00 0d", "read taxpayer", QString()));
    EXPECT_TRUE(t.view.dialogs[0].contains("Послато: 5f 30 00 0d (read taxpayer)."));
    // A long record is cut after its first bytes.
    t.link.clearTx();
    t.link.SendAwaitingReply(0x85, 54);
    EXPECT_TRUE(t.link.noAnswerMessage().contains("Послато: 5f 85 32 00 00 00 00 00 00 00 00 00 … (write article 0)"))
        << t.link.noAnswerMessage().toStdString();
}
