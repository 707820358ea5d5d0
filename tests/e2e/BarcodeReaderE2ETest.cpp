// The barcode reader on a real pseudo-terminal: the test plays the scanner on the master side.
#include "ArticlesSection.h"
#include "BarcodeReader.h"
#include "SimHarness.h"
#include "TfMain.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QSerialPort>

#include <QTest>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace {
class BarcodeE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        master = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        slavePath = QString::fromLocal8Bit(ptsname(master));
        window = std::make_unique<TfMain>();
        window->FormActivate();
        window->dialog().setResponder([this](TDialog &d) {
            messages.append(d.Naslov->text() + QStringLiteral("|") + d.tekst->toPlainText());
            return 1;
        });
        reader = window->findChild<BarcodeReader *>();
        ASSERT_NE(reader, nullptr);
        combo = window->findChild<QComboBox *>("cbBCCom");
        button = window->findChild<QPushButton *>("btnBCCom");
        box = window->articlesSection().edtBarkod;
        ASSERT_TRUE(combo && button && box);
    }
    void TearDown() override
    {
        window.reset();
        if (master >= 0)
            ::close(master);
    }
    void open()
    {
        combo->setEditText(slavePath);
        button->click();
        ASSERT_TRUE(reader->port().isOpen()) << messages.join("; ").toStdString();
        EXPECT_EQ(button->text(), QStringLiteral("Затвори порт"));
    }
    // The scanner sends bytes; waits until the reader has taken all of them in.
    void scan(const QByteArray &bytes)
    {
        ASSERT_EQ(::write(master, bytes.constData(), size_t(bytes.size())), bytes.size());
        ::tcdrain(master);
    }
    bool waitForBox(const QString &text)
    {
        return waitUntil([&] { return box->text() == text; }, 3000);
    }
    bool waitForCount(int n)
    {
        return waitUntil([&] { return reader->assembler().count() == n; }, 3000);
    }

    int master = -1;
    QString slavePath;
    std::unique_ptr<TfMain> window;
    BarcodeReader *reader = nullptr;
    QComboBox *combo = nullptr;
    QPushButton *button = nullptr;
    QLineEdit *box = nullptr;
    QStringList messages;
};
} // namespace

TEST_F(BarcodeE2E, PortSettingsAndOpenClose)
{
    EXPECT_EQ(combo->currentText(), "COM1");
    EXPECT_EQ(button->text(), QStringLiteral("Отвори порт"));
    EXPECT_EQ(BarcodeReader::portNameFor("COM1"), "/dev/ttyS0");
    EXPECT_EQ(BarcodeReader::portNameFor("com4"), "/dev/ttyS3");
    EXPECT_EQ(BarcodeReader::portNameFor("/dev/ttyUSB0"), "/dev/ttyUSB0");
    open();
    QSerialPort &p = reader->port();
    EXPECT_TRUE(slavePath.endsWith(p.portName())) << p.portName().toStdString(); // Qt drops the "/dev/"
    EXPECT_EQ(p.baudRate(), 9600);
    EXPECT_EQ(p.dataBits(), QSerialPort::Data8);
    EXPECT_EQ(p.parity(), QSerialPort::NoParity);
    EXPECT_EQ(p.stopBits(), QSerialPort::OneStop);
    EXPECT_EQ(p.flowControl(), QSerialPort::NoFlowControl);
    button->click();
    EXPECT_FALSE(p.isOpen());
    EXPECT_EQ(button->text(), QStringLiteral("Отвори порт"));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(BarcodeE2E, PortThatCannotOpenIsReported)
{
    combo->setEditText("/dev/quorvel-no-such-port");
    button->click();
    EXPECT_FALSE(reader->port().isOpen());
    EXPECT_EQ(button->text(), QStringLiteral("Отвори порт"));
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith(QStringLiteral("Грешка !!! |")));
    EXPECT_GT(messages[0].size(), QStringLiteral("Грешка !!! |").size()); // the port library's own text
}

TEST_F(BarcodeE2E, LinesIntoTheBarcodeBox)
{
    auto *rec = window->findChild<QFrame *>("bcLedRec");
    auto *trans = window->findChild<QFrame *>("bcLedTrans");
    ASSERT_TRUE(rec && trans);
    EXPECT_NE(rec->geometry(), trans->geometry());
    const QColor recIdle = rec->palette().color(QPalette::Window);
    EXPECT_GT(recIdle.green(), recIdle.red());
    EXPECT_GT(trans->palette().color(QPalette::Window).red(), trans->palette().color(QPalette::Window).green());
    QColor recWhenCodeLanded;
    QObject::connect(box, &QLineEdit::textChanged, [&] { recWhenCodeLanded = rec->palette().color(QPalette::Window); });

    open();
    scan("8600123456789\r\n");
    ASSERT_TRUE(waitForBox("8600123456789"));
    EXPECT_EQ(reader->assembler().count(), 0);
    // The receive lamp was lit, brighter green than at rest.
    EXPECT_GT(recWhenCodeLanded.green(), recIdle.green());
    EXPECT_EQ(recWhenCodeLanded.red(), 0);

    // The same code in two chunks.
    box->clear();
    scan("860012");
    ASSERT_TRUE(waitForCount(6));
    EXPECT_EQ(box->text(), "");
    scan("3456789\r\n");
    ASSERT_TRUE(waitForBox("8600123456789"));

    // CR alone, or LF CR, completes nothing.
    scan("111\r");
    ASSERT_TRUE(waitForCount(4));
    EXPECT_EQ(box->text(), "8600123456789");
    scan("\n");
    ASSERT_TRUE(waitForBox("111"));
    scan("222\n\r");
    ASSERT_TRUE(waitForCount(5));
    EXPECT_EQ(box->text(), "111");
    // The bytes stayed: a CR LF now ends a line that carries them.
    scan("\r\n");
    ASSERT_TRUE(waitForBox(QStringLiteral("222\n\r")));

    // An empty line empties the box.
    scan("\r\n");
    ASSERT_TRUE(waitForBox(""));

    // Two codes in one chunk: one text, the first line end inside.
    scan("12345\r\n67890\r\n");
    ASSERT_TRUE(waitForBox(QStringLiteral("12345\r\n67890")));
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(BarcodeE2E, OverlongLineKeepsNewestBytesAndLongCodesLandWhole)
{
    open();
    scan("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    ASSERT_TRUE(waitUntil(
        [&] { return reader->assembler().collected() == QByteArray("GHIJKLMNOPQRSTUVWXYZ0123456789").right(20); },
        3000));
    EXPECT_EQ(reader->assembler().count(), 20);
    scan("\r\n");
    ASSERT_TRUE(waitForBox("STUVWXYZ0123456789"));
    // Longer than the 13 characters the box takes from the keyboard: not cut.
    scan("ABCDEFGHIJKLMNOP\r\n");
    ASSERT_TRUE(waitForBox("ABCDEFGHIJKLMNOP"));
    // The long code does not leave the box taking longer typed text afterwards.
    window->articlesSection().setCurrentCell(1, 2);
    EXPECT_EQ(box->text(), "");
    box->setFocus();
    QTest::keyClicks(box, "12345678901234567");
    EXPECT_EQ(box->text(), "1234567890123");
}

TEST_F(BarcodeE2E, WindowCloseClosesThePort)
{
    open();
    window->close();
    EXPECT_FALSE(reader->port().isOpen());
    EXPECT_EQ(button->text(), QStringLiteral("Отвори порт"));
}
