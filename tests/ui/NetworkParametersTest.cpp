// Network settings and numbered parameters on the fourth page: frames, replies, input checks.
#include "MaintenanceFixture.h"
#include "UiText.h"

#include <QGroupBox>
#include <QProgressBar>

namespace {
const QString kDataError = QStringLiteral("Грешка !!! |Грешка у подацима ! Упис је отказан");
const QString kRefused = QStringLiteral("Грешка !!! |Фискални принтер није у сервисном режиму.");

class Network : public MaintenanceFixture {};
class Parameters : public MaintenanceFixture {};
} // namespace

TEST_F(Network, ControlsAfterStartUp)
{
    start();
    auto *g = child<QGroupBox>("GroupBox1");
    EXPECT_EQ(g->title(), QStringLiteral("IP адреса"));
    EXPECT_EQ(g->geometry(), QRect(4, 26, 300, 190));
    // The four address boxes stand left to right as edtIP3, edtIP2, edtIP1, edtIP0.
    EXPECT_LT(child<QLineEdit>("edtIP3")->x(), child<QLineEdit>("edtIP2")->x());
    EXPECT_LT(child<QLineEdit>("edtIP2")->x(), child<QLineEdit>("edtIP1")->x());
    EXPECT_LT(child<QLineEdit>("edtIP1")->x(), child<QLineEdit>("edtIP0")->x());
    EXPECT_TRUE(child<QRadioButton>("rb0")->isChecked());
    EXPECT_EQ(text("rb0"), "IP");
    EXPECT_EQ(text("rb1"), "Subnet mask");
    EXPECT_EQ(text("rb2"), "Gateway");
    EXPECT_EQ(text("rb3"), "TCP Local Port");
    EXPECT_EQ(text("btnIPRead"), QStringLiteral("Читање из касе"));
    EXPECT_EQ(text("btnIPWrite"), QStringLiteral("Унос у касу"));
    EXPECT_EQ(text("edtPNrLabel"), QStringLiteral("Парам."));
    EXPECT_EQ(text("edtPVLabel"), QStringLiteral("Вредност"));
    EXPECT_EQ(child<QWidget>("GroupBox2")->geometry(), QRect(308, 26, 290, 110));
}

TEST_F(Network, PortReadFillsOnlyThePortBox)
{
    start();
    type("edtIP0", "9");
    type("edtPort", "77");
    child<QRadioButton>("rb3")->setChecked(true);
    click("btnIPRead");
    EXPECT_EQ(transport.lastWrite(), hexBytes({0x5F, 0xF6, 0x01, 0x03, 0x0D}));
    EXPECT_EQ(window->statusText(), QStringLiteral("Молим сачекајте..."));
    EXPECT_TRUE(link().replyPending());
    EXPECT_TRUE(link().replyTimer().isActive());
    // The boxes are emptied by the read itself.
    EXPECT_EQ(text("edtIP0"), "");
    EXPECT_EQ(text("edtPort"), "");
    reply(hexBytes({0x5F, 0xF6, 0x03, 0x03, 0x00, 0x04, 0x0D}));
    EXPECT_EQ(text("edtPort"), "1024");
    for (const char *b : {"edtIP0", "edtIP1", "edtIP2", "edtIP3"})
        EXPECT_EQ(text(b), "") << b;
    EXPECT_EQ(child<QProgressBar>("PBar")->value(), 0);
    EXPECT_EQ(window->statusText(), QStringLiteral("Молим сачекајте..."));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Network, AddressReplyFillsTheBoxesWhateverIsChosen)
{
    start();
    for (const char *rb : {"rb0", "rb1", "rb2"}) {
        child<QRadioButton>(rb)->setChecked(true);
        click("btnIPRead");
        EXPECT_EQ(transport.lastWrite(), hexBytes({0x5F, 0xF6, 0x01, rb[2] - '0', 0x0D})) << rb;
    }
    // The user picks the port meanwhile; an address reply still lands in the address boxes.
    child<QRadioButton>("rb3")->setChecked(true);
    reply(hexBytes({0x5F, 0xF6, 0x05, 0x01, 0x14, 0x00, 0xA8, 0xC0, 0x0D}));
    EXPECT_EQ(text("edtIP0"), "20");
    EXPECT_EQ(text("edtIP1"), "0");
    EXPECT_EQ(text("edtIP2"), "168");
    EXPECT_EQ(text("edtIP3"), "192");
    EXPECT_EQ(text("edtPort"), "");
    EXPECT_TRUE(child<QRadioButton>("rb3")->isChecked());
}

TEST_F(Network, WritesAddressAndPort)
{
    start();
    // Typed left to right: 192 168 0 20.
    type("edtIP3", "192");
    type("edtIP2", "168");
    type("edtIP1", "0");
    type("edtIP0", " 20");
    click("btnIPWrite");
    EXPECT_EQ(transport.lastWrite(), hexBytes({0x5F, 0xF8, 0x05, 0x00, 0x14, 0x00, 0xA8, 0xC0, 0x0D}));
    EXPECT_EQ(window->statusText(), QStringLiteral("Молим сачекајте..."));
    EXPECT_FALSE(link().replyPending());
    EXPECT_FALSE(link().replyTimer().isActive());

    child<QRadioButton>("rb2")->setChecked(true);
    click("btnIPWrite");
    EXPECT_EQ(transport.lastWrite(), hexBytes({0x5F, 0xF8, 0x05, 0x02, 0x14, 0x00, 0xA8, 0xC0, 0x0D}));

    // A port write leaves no address bytes behind at positions 7 and 8.
    child<QRadioButton>("rb3")->setChecked(true);
    type("edtPort", "1024");
    click("btnIPWrite");
    EXPECT_EQ(transport.lastWrite(), hexBytes({0x5F, 0xF8, 0x05, 0x03, 0x00, 0x04, 0x00, 0x00, 0x0D}));
    type("edtPort", "65535");
    click("btnIPWrite");
    EXPECT_EQ(transport.lastWrite(), hexBytes({0x5F, 0xF8, 0x05, 0x03, 0xFF, 0xFF, 0x00, 0x00, 0x0D}));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Network, BadInputGivesOneDialogAndSendsNothing)
{
    start();
    type("edtIP3", "192");
    type("edtIP2", "168");
    type("edtIP1", "0");
    for (const char *bad : {"256", "", "a", "-1", "1 2"}) {
        type("edtIP0", QString::fromLatin1(bad));
        click("btnIPWrite");
    }
    // Two bad boxes: still a single message.
    type("edtIP0", "x");
    type("edtIP3", "999");
    click("btnIPWrite");
    EXPECT_EQ(messages, QStringList(6, kDataError));
    EXPECT_TRUE(transport.writes.isEmpty());
    EXPECT_EQ(text("edtIP3"), "999"); // the boxes keep what was typed

    messages.clear();
    child<QRadioButton>("rb3")->setChecked(true);
    for (const char *bad : {"65536", "", "port", "-5"}) {
        type("edtPort", QString::fromLatin1(bad));
        click("btnIPWrite");
    }
    EXPECT_EQ(messages, QStringList(4, kDataError));
    EXPECT_TRUE(transport.writes.isEmpty());
}

TEST_F(Network, OutsideServiceModeNothingIsSent)
{
    start();
    leaveServiceMode();
    type("edtIP0", "5");
    child<QPushButton>("btnIPRead")->setEnabled(true); // even if a click gets through
    child<QPushButton>("btnIPWrite")->setEnabled(true);
    click("btnIPRead");
    click("btnIPWrite");
    EXPECT_EQ(messages, QStringList(2, kRefused));
    EXPECT_TRUE(transport.writes.isEmpty());
    EXPECT_EQ(text("edtIP0"), "5");
}

TEST_F(Network, ServiceModeRepliesSetTheButtons)
{
    start();
    // Both buttons are on from start-up: leaving service mode first makes the enabling visible.
    leaveServiceMode();
    EXPECT_FALSE(child<QPushButton>("btnIPRead")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("btnIPWrite")->isEnabled());
    reply(hexBytes({0x5F, 0x00, 0x02, 0x04, 0x01, 0x0D}));
    EXPECT_TRUE(child<QPushButton>("btnIPRead")->isEnabled());
    EXPECT_FALSE(child<QPushButton>("btnIPWrite")->isEnabled());
    click("btnIPRead");
    EXPECT_TRUE(child<QPushButton>("btnIPWrite")->isEnabled());
}

TEST_F(Parameters, ReadAndReply)
{
    start();
    type("edtPNr", "0");
    type("edtPV", "old");
    click("btnPRead");
    EXPECT_EQ(transport.lastWrite(), hexBytes({0x5F, 0xF7, 0x01, 0x00, 0x0D}));
    EXPECT_TRUE(link().replyTimer().isActive());
    EXPECT_EQ(text("edtPV"), "old"); // kept until the reply arrives
    reply(hexBytes({0x5F, 0xF7, 0x03, 0x05, 0x34, 0x12, 0x0D}));
    EXPECT_EQ(text("edtPNr"), "5");
    EXPECT_EQ(text("edtPV"), "4660");
    EXPECT_EQ(window->statusText(), QStringLiteral("Молим сачекајте..."));
}

TEST_F(Parameters, WriteAndChecks)
{
    start();
    type("edtPNr", "255");
    type("edtPV", "65535");
    click("btnPWrite");
    EXPECT_EQ(transport.lastWrite(), hexBytes({0x5F, 0xF9, 0x03, 0xFF, 0xFF, 0xFF, 0x0D}));
    EXPECT_FALSE(link().replyTimer().isActive());
    type("edtPNr", "+7");
    type("edtPV", "  258");
    click("btnPWrite");
    EXPECT_EQ(transport.lastWrite(), hexBytes({0x5F, 0xF9, 0x03, 0x07, 0x02, 0x01, 0x0D}));
    ASSERT_EQ(transport.writes.size(), 2);
    EXPECT_TRUE(messages.isEmpty());

    const std::pair<const char *, const char *> bad[] = {{"256", "1"}, {"1", "65536"}, {"1", "-1"}, {"x", "y"}};
    for (const auto &[nr, value] : bad) {
        type("edtPNr", QString::fromLatin1(nr));
        type("edtPV", QString::fromLatin1(value));
        click("btnPWrite");
    }
    EXPECT_EQ(messages, QStringList(4, kDataError));
    EXPECT_EQ(transport.writes.size(), 2);

    // A read with a bad number shows the same data-error text although it is a read.
    messages.clear();
    type("edtPNr", "300");
    click("btnPRead");
    EXPECT_EQ(messages, QStringList{kDataError});
    EXPECT_EQ(transport.writes.size(), 2);
}

TEST_F(Parameters, OutsideServiceModeNothingIsSent)
{
    start();
    leaveServiceMode();
    type("edtPNr", "1");
    type("edtPV", "1");
    child<QPushButton>("btnPRead")->setEnabled(true);
    child<QPushButton>("btnPWrite")->setEnabled(true);
    click("btnPRead");
    click("btnPWrite");
    EXPECT_EQ(messages, QStringList(2, kRefused));
    EXPECT_TRUE(transport.writes.isEmpty());
}
