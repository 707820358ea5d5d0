// Fiscal-memory dump: the 0xC0 chain, the file it leaves, and what happens when it breaks off.
#include "FmDumpSection.h"
#include "MaintenanceFixture.h"
#include "UiText.h"

#include <QDir>
#include <QProgressBar>
#include <QTest>

namespace {
const QString kDone = QStringLiteral("Информација !!!|Упис је успешан!...");

QByteArray blockData(int block)
{
    QByteArray d(128, '\0');
    for (int i = 0; i < 128; ++i)
        d[i] = char((block * 131 + i * 7) & 0xFF);
    return d;
}

QByteArray blockReply(int block, const QByteArray &data)
{
    return hexBytes({0x5F, 0xC0, 130, block & 0xFF, block >> 8}) + data + char(0x0D);
}

QByteArray blockRequest(int block)
{
    return hexBytes({0x5F, 0xC0, 0x02, block & 0xFF, block >> 8, 0x0D});
}

class FmDump : public MaintenanceFixture {
protected:
    void start(const QString &chosen = QStringLiteral("dump.BIN"))
    {
        MaintenanceFixture::start();
        section = window->findChild<FmDumpSection *>();
        ASSERT_NE(section, nullptr);
        section->setFileChooser([this, chosen] {
            ++asked;
            return chosen.isEmpty() ? QString() : dir.filePath(chosen);
        });
    }
    QStringList filesInDir() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
    int progress() { return child<QProgressBar>("PBar")->value(); }

    FmDumpSection *section = nullptr;
    int asked = 0;
};
} // namespace

TEST_F(FmDump, ButtonOnTheFourthPage)
{
    start();
    auto *b = child<QPushButton>("btnFMDump");
    EXPECT_EQ(b->parentWidget(), child<QWidget>("TabSheet1"));
    EXPECT_EQ(b->geometry(), QRect(608, 296, 153, 25));
    EXPECT_EQ(b->text(), QStringLiteral("Читање фискалне меморије"));
}

TEST_F(FmDump, WholeChainWritesTheFile)
{
    start();
    click("btnFMDump");
    ASSERT_EQ(transport.writes.size(), 1);
    EXPECT_EQ(transport.lastWrite(), blockRequest(0));
    EXPECT_TRUE(link().replyTimer().isActive());
    EXPECT_TRUE(section->running());
    EXPECT_EQ(text("btnFMDump"), QStringLiteral("Прекини"));

    QByteArray expected;
    for (int b = 0; b < 1024; ++b) {
        const QByteArray data = blockData(b);
        expected += data;
        reply(blockReply(b, data));
        if (b < 1023) {
            ASSERT_EQ(transport.lastWrite(), blockRequest(b + 1)) << b;
            ASSERT_TRUE(link().replyTimer().isActive()) << b;
            ASSERT_EQ(progress(), b / 64) << b;
        }
    }
    EXPECT_EQ(transport.writes.size(), 1024);
    EXPECT_EQ(messages, QStringList{kDone});
    EXPECT_FALSE(section->running());
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(text("btnFMDump"), QStringLiteral("Читање фискалне меморије"));
    QFile f(dir.filePath("dump.BIN"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray got = f.readAll();
    EXPECT_EQ(got.size(), 131072);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(filesInDir(), QStringList{"dump.BIN"}); // no temporary file left behind
}

TEST_F(FmDump, WrongBlockStopsAndKeepsTheOldFile)
{
    start();
    {
        QFile old(dir.filePath("dump.BIN"));
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("OLD");
    }
    click("btnFMDump");
    for (int b = 0; b < 5; ++b)
        reply(blockReply(b, blockData(b)));
    reply(blockReply(7, blockData(7))); // block 5 was asked for
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Грешка !!! |"))) << messages[0].toStdString();
    EXPECT_FALSE(section->running());
    const int sent = int(transport.writes.size());
    reply(blockReply(5, blockData(5))); // late answers change nothing
    EXPECT_EQ(transport.writes.size(), sent);
    QFile f(dir.filePath("dump.BIN"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("OLD"));
    EXPECT_EQ(filesInDir(), QStringList{"dump.BIN"});
}

TEST_F(FmDump, ShortBlockReplyIsNotWritten)
{
    start();
    click("btnFMDump");
    // A reply that carries only 10 of the 128 bytes.
    reply(hexBytes({0x5F, 0xC0, 12, 0, 0}) + QByteArray(10, 'x') + char(0x0D));
    EXPECT_EQ(messages.size(), 1);
    EXPECT_FALSE(section->running());
    EXPECT_TRUE(filesInDir().isEmpty());
}

TEST_F(FmDump, SilentDeviceLeavesNoFile)
{
    start();
    link().replyTimer().setInterval(20);
    click("btnFMDump");
    reply(blockReply(0, blockData(0)));
    ASSERT_TRUE(section->running());
    QTest::qWait(100);
    EXPECT_FALSE(section->running());
    EXPECT_EQ(messages, QStringList{UiText(Txt::TitleError) + "|" + link().noAnswerMessage()});
    EXPECT_TRUE(messages[0].contains(UiText(Txt::NoAnswer) + "\nПослато: 5f c0 ")) << messages[0].toStdString();
    EXPECT_TRUE(filesInDir().isEmpty());
    EXPECT_EQ(text("btnFMDump"), QStringLiteral("Читање фискалне меморије"));
}

TEST_F(FmDump, DeviceErrorOrUserStopEndsTheDump)
{
    start();
    click("btnFMDump");
    reply(blockReply(0, blockData(0)));
    reply(hexBytes({0x5F, 0xF5, 0x03, 0x04, 0x01, 0x10, 0x0D})); // wrong parameter
    EXPECT_FALSE(section->running());
    EXPECT_EQ(messages, QStringList{QStringLiteral("Грешка !!! |Погрешан параметар")});
    EXPECT_TRUE(filesInDir().isEmpty());

    messages.clear();
    click("btnFMDump");
    EXPECT_TRUE(section->running());
    click("btnFMDump"); // the same button stops it
    EXPECT_FALSE(section->running());
    EXPECT_FALSE(link().replyTimer().isActive());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Пажња!!! |")));
    EXPECT_TRUE(filesInDir().isEmpty());
}

TEST_F(FmDump, NothingSentWithoutFileOrOutsideServiceMode)
{
    start(QString());
    click("btnFMDump");
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(transport.writes.isEmpty());
    EXPECT_FALSE(section->running());

    leaveServiceMode();
    click("btnFMDump");
    EXPECT_EQ(asked, 1); // refused before the file is asked for
    EXPECT_EQ(messages, QStringList{QStringLiteral("Грешка !!! |Фискални принтер није у сервисном режиму.")});
    EXPECT_TRUE(transport.writes.isEmpty());
}

TEST_F(FmDump, NameWithoutExtensionGetsBin)
{
    start(QStringLiteral("memory"));
    click("btnFMDump");
    for (int b = 0; b < 1024; ++b)
        reply(blockReply(b, blockData(b)));
    EXPECT_EQ(messages, QStringList{kDone});
    EXPECT_EQ(filesInDir(), QStringList{"memory.BIN"});
}

TEST_F(FmDump, DroppedConnectionEndsTheDumpWithoutAFile)
{
    start();
    click("btnFMDump");
    for (int b = 0; b < 3; ++b)
        reply(blockReply(b, blockData(b)));
    ASSERT_TRUE(section->running());
    transport.drop();
    EXPECT_FALSE(section->running());
    EXPECT_FALSE(link().busy());
    EXPECT_EQ(text("btnFMDump"), QStringLiteral("Читање фискалне меморије"));
    EXPECT_TRUE(filesInDir().isEmpty());
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(UiText(Txt::TitleError))) << messages[0].toStdString();
}
