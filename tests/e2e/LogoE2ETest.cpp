// A logo loaded from a generated PNG, written to the simulated printer and read back pixel for pixel.
#include "LogoPicture.h"
#include "LogoSection.h"
#include "SimFiscal.h"
#include "SimHarness.h"

#include <QCheckBox>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(LogoE2E, LogoFromPngWrittenAndReadBackIdentical)
{
    SimHarness h(QStringLiteral("127.0.0.44"));
    ASSERT_TRUE(h.connected);
    TfMain &w = *h.window;
    LogoSection &logo = *w.findChild<LogoSection *>();
    SimFiscal &sim = *h.device.module<SimFiscal>();
    int acks = 0, flagReads = 0;
    QObject::connect(&h.link(), &DeviceLink::replyDispatched, [&](uint8_t code) {
        acks += code == SimulatedDevice::kAckCode;
        flagReads += code == 0x55;
    });

    // A two-colour picture with a frame, a diagonal and text, as a technician would draw one.
    QImage picture(256, 128, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter p(&picture);
        p.setPen(Qt::black);
        p.drawRect(0, 0, 255, 127);
        p.drawLine(0, 0, 255, 127);
        p.fillRect(200, 10, 40, 30, Qt::black);
    }
    picture.setPixel(100, 100, qRgb(254, 255, 255)); // not exactly white: a dot
    QTemporaryDir dir;
    const QString path = dir.filePath("logo.png");
    ASSERT_TRUE(picture.save(path));
    QImage expected = picture;
    expected.setPixel(100, 100, qRgb(0, 0, 0));

    ASSERT_TRUE(logo.loadLogoFile(path));
    w.findChild<QCheckBox *>("chbLogo")->setChecked(true);
    w.findChild<QPushButton *>("btnLogoWrite")->click();
    ASSERT_TRUE(waitUntil([&] { return acks == 1; }));
    EXPECT_EQ(sim.logoFlag(), 0xCC);
    QByteArray packed;
    for (int k = 0; k < 16; ++k)
        packed += LogoPicture::pack(expected, k);
    EXPECT_EQ(sim.logo(), packed);

    // Show a blank picture, then read the device's logo back.
    const QString blankPath = dir.filePath("blank.png");
    ASSERT_TRUE(LogoPicture::blank().save(blankPath));
    ASSERT_TRUE(logo.loadLogoFile(blankPath));
    ASSERT_EQ(logo.logo(), LogoPicture::blank());
    w.findChild<QCheckBox *>("chbLogo")->setChecked(false);
    w.findChild<QPushButton *>("btnLogoRead")->click();
    ASSERT_TRUE(waitUntil([&] { return flagReads == 1; }));
    EXPECT_EQ(logo.logo(), expected);
    EXPECT_TRUE(w.findChild<QCheckBox *>("chbLogo")->isChecked());
    EXPECT_TRUE(h.messages.isEmpty());
}
