// The fourth page against the simulated printer over loopback TCP: settings, parameters, clock
// shift, self-tests and the fiscal-memory dump.
#include "FmDumpSection.h"
#include "SimFiscal.h"
#include "SimHarness.h"
#include "SimMaintenance.h"

#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>

#include <gtest/gtest.h>

namespace {
struct Page4 {
    explicit Page4(const QString &host) : h(host) {}
    template <typename T> T *child(const char *name) { return h.window->findChild<T *>(QString::fromLatin1(name)); }
    QLineEdit *edit(const char *name) { return child<QLineEdit>(name); }
    void click(const char *name) { child<QPushButton>(name)->click(); }
    void choose(const char *name) { child<QRadioButton>(name)->setChecked(true); }
    // Clicks a button and waits until the device has answered the request it sent.
    bool clickAndWaitForDevice(const char *name)
    {
        int requests = 0;
        auto c = QObject::connect(h.server.get(), &SimServer::requestBytes, [&](const QByteArray &) { ++requests; });
        int replies = 0;
        auto d = QObject::connect(&h.link(), &DeviceLink::replyDispatched, [&](uint8_t) { ++replies; });
        click(name);
        const bool ok = waitUntil([&] { return requests > 0 && replies > 0; });
        QObject::disconnect(c);
        QObject::disconnect(d);
        return ok;
    }
    SimMaintenance &sim() { return *h.device.module<SimMaintenance>(); }

    SimHarness h;
};
} // namespace

TEST(MaintenanceE2E, NetworkSettingsWrittenAndReadBack)
{
    Page4 p(QStringLiteral("127.0.0.70"));
    ASSERT_TRUE(p.h.connected);
    p.choose("rb2");
    p.edit("edtIP3")->setText("10");
    p.edit("edtIP2")->setText("20");
    p.edit("edtIP1")->setText("30");
    p.edit("edtIP0")->setText("40");
    ASSERT_TRUE(p.clickAndWaitForDevice("btnIPWrite"));
    EXPECT_EQ(p.sim().setting(2), (std::array<uint8_t, 4>{40, 30, 20, 10}));

    p.choose("rb3");
    p.edit("edtPort")->setText("9100");
    ASSERT_TRUE(p.clickAndWaitForDevice("btnIPWrite"));
    EXPECT_EQ(p.sim().tcpPort(), 9100);

    for (const char *e : {"edtIP0", "edtIP1", "edtIP2", "edtIP3", "edtPort"})
        p.edit(e)->setText("1");
    p.choose("rb2");
    ASSERT_TRUE(p.clickAndWaitForDevice("btnIPRead"));
    EXPECT_EQ(p.edit("edtIP3")->text(), "10");
    EXPECT_EQ(p.edit("edtIP2")->text(), "20");
    EXPECT_EQ(p.edit("edtIP1")->text(), "30");
    EXPECT_EQ(p.edit("edtIP0")->text(), "40");
    EXPECT_EQ(p.edit("edtPort")->text(), "");
    p.choose("rb3");
    ASSERT_TRUE(p.clickAndWaitForDevice("btnIPRead"));
    EXPECT_EQ(p.edit("edtPort")->text(), "9100");
    p.choose("rb0"); // the device's own default address
    ASSERT_TRUE(p.clickAndWaitForDevice("btnIPRead"));
    EXPECT_EQ(QStringList({p.edit("edtIP3")->text(), p.edit("edtIP2")->text(), p.edit("edtIP1")->text(),
                           p.edit("edtIP0")->text()})
                  .join('.'),
              "172.16.1.199");
    EXPECT_TRUE(p.h.messages.isEmpty()) << p.h.messages.join("; ").toStdString();
}

TEST(MaintenanceE2E, ParametersWrittenAndReadBack)
{
    Page4 p(QStringLiteral("127.0.0.71"));
    ASSERT_TRUE(p.h.connected);
    p.edit("edtPNr")->setText("200");
    p.edit("edtPV")->setText("54321");
    ASSERT_TRUE(p.clickAndWaitForDevice("btnPWrite"));
    EXPECT_EQ(p.sim().parameter(200), 54321);
    p.edit("edtPV")->setText("");
    ASSERT_TRUE(p.clickAndWaitForDevice("btnPRead"));
    EXPECT_EQ(p.edit("edtPNr")->text(), "200");
    EXPECT_EQ(p.edit("edtPV")->text(), "54321");

    // Outside service mode the device refuses, and the tool shows its refusal.
    p.h.device.setServiceMode(false);
    ASSERT_TRUE(p.clickAndWaitForDevice("btnPWrite"));
    EXPECT_EQ(p.h.messages, QStringList{QStringLiteral("Грешка !!! |Сервисни џампер није стављен")});
}

TEST(MaintenanceE2E, ClockShiftMovesTheDeviceClock)
{
    Page4 p(QStringLiteral("127.0.0.72"));
    ASSERT_TRUE(p.h.connected);
    // Late in the evening, so that the shifts cross midnight and back.
    p.h.device.module<SimFiscal>()->setClock(QDateTime(QDate(2024, 3, 31), QTime(23, 10), Qt::UTC));
    auto readClock = [&] {
        EXPECT_TRUE(p.clickAndWaitForDevice("btnReadDateTime"));
        return QDateTime(p.child<QDateEdit>("dtpSetDate")->date(), p.child<QTimeEdit>("dtpSetTime")->time());
    };
    p.choose("rbnapred");
    ASSERT_TRUE(p.clickAndWaitForDevice("BtnSat"));
    EXPECT_EQ(readClock().toString("yyyy-MM-dd HH:mm"), "2024-04-01 00:10");
    ASSERT_TRUE(p.clickAndWaitForDevice("BtnSat"));
    p.choose("rbnazad");
    ASSERT_TRUE(p.clickAndWaitForDevice("BtnSat"));
    EXPECT_EQ(p.sim().clockShiftHours(), 1);
    EXPECT_EQ(readClock().toString("yyyy-MM-dd HH:mm"), "2024-04-01 00:10");
    ASSERT_TRUE(p.clickAndWaitForDevice("BtnSat"));
    EXPECT_EQ(readClock().toString("yyyy-MM-dd HH:mm"), "2024-03-31 23:10");
    EXPECT_TRUE(p.h.messages.isEmpty()) << p.h.messages.join("; ").toStdString();
}

TEST(MaintenanceE2E, SelfTestFaultIsShown)
{
    Page4 p(QStringLiteral("127.0.0.73"));
    ASSERT_TRUE(p.h.connected);
    int requests = 0;
    QObject::connect(p.h.server.get(), &SimServer::requestBytes, [&](const QByteArray &) { ++requests; });

    // A passing test: the device answers, nothing is shown.
    p.choose("rbLCDtest");
    p.click("BtnTest");
    ASSERT_TRUE(waitUntil([&] { return requests == 1; }));
    QTest::qWait(200);
    EXPECT_TRUE(p.h.messages.isEmpty());

    p.h.device.setSelfTestStatus(0x00000001u); // fiscal-memory error
    p.choose("rbFMtest");
    p.click("BtnTest");
    ASSERT_TRUE(waitUntil([&] { return !p.h.messages.isEmpty(); }));
    EXPECT_EQ(p.h.messages.first(), QStringLiteral("Грешка !!! |Грешка! / Greska u fiskalnoj memoriji(0)"));
}

TEST(MaintenanceE2E, FiscalMemoryDumpEqualsTheDevice)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Page4 p(QStringLiteral("127.0.0.74"));
    ASSERT_TRUE(p.h.connected);
    auto *section = p.h.window->findChild<FmDumpSection *>();
    ASSERT_NE(section, nullptr);
    const QString path = dir.filePath("FM.BIN");
    section->setFileChooser([&] { return path; });
    p.click("btnFMDump");
    ASSERT_TRUE(waitUntil([&] { return !p.h.messages.isEmpty(); }, 60000));
    EXPECT_EQ(p.h.messages, QStringList{QStringLiteral("Информација !!!|Упис је успешан!...")});
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray dump = f.readAll();
    EXPECT_EQ(dump.size(), 131072);
    EXPECT_TRUE(dump == p.sim().fiscalMemory());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"FM.BIN"});
}

TEST(MaintenanceE2E, DumpBrokenOffByTheDeviceLeavesNoFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Page4 p(QStringLiteral("127.0.0.75"));
    ASSERT_TRUE(p.h.connected);
    auto *section = p.h.window->findChild<FmDumpSection *>();
    section->setFileChooser([&] { return dir.filePath("FM.BIN"); });
    // The device leaves service mode in the middle of the dump: it refuses the next block.
    int requests = 0;
    QObject::connect(p.h.server.get(), &SimServer::requestBytes, [&](const QByteArray &) {
        if (++requests == 300)
            p.h.device.setServiceMode(false);
    });
    p.click("btnFMDump");
    ASSERT_TRUE(waitUntil([&] { return !p.h.messages.isEmpty(); }, 60000));
    EXPECT_EQ(p.h.messages.first(), QStringLiteral("Грешка !!! |Сервисни џампер није стављен"));
    EXPECT_FALSE(section->running());
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}
