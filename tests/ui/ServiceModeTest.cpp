// Service mode on the whole window: leaving it disables every read and write button, entering it
// enables the reads, and each read's reply enables its own write, against a simulated printer.
#include "ArticlesSection.h"
#include "FiscalSectionFixture.h"
#include "SimulatedDevice.h"
#include "UiText.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {
const QStringList kReads = {"btnRead",       "btnCompanyRead", "btnLogoRead", "btnReadDateTime",
                            "btnReadCliche", "btnARead",       "btnTGRead",   "btnSTRead",
                            "btnORead",      "btnIPRead",      "btnPRead"};
const QStringList kWrites = {"btnWrite",   "btnCompanyWrite", "btnLogoWrite", "btnWriteDateTime", "btnWriteCliche",
                             "btnTGWrite", "btnSTWrite",      "btnOWrite",    "btnIPWrite",       "btnPWrite"};

QByteArray svc(uint8_t code, uint8_t model2 = 0x01)
{
    return SimulatedDevice::shortReply(code, QByteArray("\x04", 1) + char(model2));
}

class ServiceMode : public FiscalSectionFixture {
protected:
    QPushButton *button(const QString &name) const
    {
        auto *b = window->findChild<QPushButton *>(name);
        EXPECT_NE(b, nullptr) << name.toStdString();
        return b;
    }
    bool enabled(const QString &name) const
    {
        QPushButton *b = button(name);
        return b && b->isEnabled();
    }
    // The names among `names` whose enabled state is not `on`, separated by blanks.
    std::string notInState(const QStringList &names, bool on) const
    {
        QStringList wrong;
        for (const QString &n : names)
            if (enabled(n) != on)
                wrong << n;
        return wrong.join(' ').toStdString();
    }
    // Lets the simulated printer answer every request the window writes, up to `limit` of them.
    void answerRequests(int limit = 1000)
    {
        for (int n = 0; answered < transport.writes.size() && n < limit; ++n)
            transport.inject(device.feed(transport.writes[answered++]));
    }

    SimulatedDevice device;
    qsizetype answered = 0;
};
} // namespace

TEST_F(ServiceMode, LeaveAndEnterSetEveryReadAndWriteButtonByName)
{
    const QStringList all = kReads + kWrites + QStringList{"btnAWrite"};
    ASSERT_EQ(notInState(all, true), ""); // everything is enabled at start-up

    transport.inject(svc(0x10));
    EXPECT_FALSE(window->link().serviceMode());
    EXPECT_EQ(window->statusText(), UiText(Txt::NotInServiceMode));
    EXPECT_EQ(notInState(all, false), "");

    transport.inject(svc(0x00));
    EXPECT_TRUE(window->link().serviceMode());
    EXPECT_EQ(window->statusText(), UiText(Txt::InServiceMode));
    EXPECT_EQ(notInState(kReads, true), "");
    EXPECT_EQ(notInState(kWrites, false), "");
    EXPECT_FALSE(enabled("btnAWrite")); // keeps the state 0x10 left it in

    // With btnAWrite on, 0x00 leaves it on; the other writes go off again.
    button("btnAWrite")->setEnabled(true);
    for (const QString &n : kWrites)
        button(n)->setEnabled(true);
    transport.inject(svc(0x00));
    EXPECT_TRUE(enabled("btnAWrite"));
    EXPECT_EQ(notInState(kWrites, false), "");
    EXPECT_TRUE(messages.isEmpty()) << messages.join("\n").toStdString();
}

TEST_F(ServiceMode, NotZeroedReplyEnablesOnlyTheClockRead)
{
    const QStringList all = kReads + kWrites + QStringList{"btnAWrite"};
    transport.inject(svc(0x10));
    ASSERT_EQ(notInState(all, false), "");

    // The wrong model changes nothing at all.
    transport.inject(svc(0xFD, 0x02));
    EXPECT_FALSE(window->link().serviceMode());
    EXPECT_EQ(notInState(all, false), "");
    EXPECT_EQ(messages, QStringList{UiText(Txt::TitleError) + "|" + UiText(Txt::WrongModel)});

    transport.inject(svc(0xFD));
    EXPECT_TRUE(window->link().serviceMode());
    EXPECT_EQ(window->statusText(), UiText(Txt::InServiceMode));
    EXPECT_TRUE(enabled("btnReadDateTime"));
    QStringList rest = all;
    rest.removeAll("btnReadDateTime");
    EXPECT_EQ(notInState(rest, false), "");
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages[1], UiText(Txt::TitleError) + "|" + UiText(Txt::NotZeroed));

    // A write enabled by hand goes off with the next 0xFD.
    button("btnWriteDateTime")->setEnabled(true);
    transport.inject(svc(0xFD));
    EXPECT_FALSE(enabled("btnWriteDateTime"));
}

TEST_F(ServiceMode, EveryReadReplyEnablesItsOwnWrite)
{
    window->findChild<QLineEdit *>("edtPNr")->setText("1");
    transport.inject(svc(0x10));
    transport.inject(svc(0x00));
    ASSERT_EQ(notInState(kWrites, false), "");
    ASSERT_FALSE(enabled("btnAWrite"));

    const QList<std::pair<QString, QString>> pairs = {{"btnRead", "btnWrite"},
                                                      {"btnCompanyRead", "btnCompanyWrite"},
                                                      {"btnLogoRead", "btnLogoWrite"},
                                                      {"btnReadDateTime", "btnWriteDateTime"},
                                                      {"btnReadCliche", "btnWriteCliche"},
                                                      {"btnTGRead", "btnTGWrite"},
                                                      {"btnSTRead", "btnSTWrite"},
                                                      {"btnORead", "btnOWrite"},
                                                      {"btnIPRead", "btnIPWrite"},
                                                      {"btnPRead", "btnPWrite"},
                                                      {"btnARead", "btnAWrite"}};
    QStringList off = kWrites + QStringList{"btnAWrite"};
    for (const auto &[read, write] : pairs) {
        ASSERT_TRUE(enabled(read)) << read.toStdString();
        const qsizetype before = transport.writes.size();
        button(read)->click();
        ASSERT_GT(transport.writes.size(), before) << read.toStdString() << " sent nothing";
        if (read == "btnARead") {
            // The device answers article 1 with its last one, which ends the chain at once.
            QByteArray last(50, '\0');
            last[0] = char(60000 & 0xFF);
            last[1] = char(60000 >> 8);
            transport.inject(QByteArray("\x5F\x80\x32", 3) + last + '\r');
            answered = transport.writes.size();
        } else {
            answerRequests();
        }
        off.removeAll(write);
        EXPECT_TRUE(enabled(write)) << read.toStdString() << " did not enable " << write.toStdString();
        // No other write came on with it.
        EXPECT_EQ(notInState(off, false), "") << "after " << read.toStdString();
    }
    // The reads themselves stay usable, and only the tax-group read and the finished article
    // read spoke.
    EXPECT_EQ(notInState(kReads, true), "");
    EXPECT_EQ(messages.size(), 2) << messages.join("\n").toStdString();

    // Leaving service mode again takes every one of them away.
    transport.inject(svc(0x10));
    EXPECT_EQ(notInState(kReads + kWrites + QStringList{"btnAWrite"}, false), "");
}
