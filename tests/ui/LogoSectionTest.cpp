// Logo group: start-up state, loading pictures, the read chain and the device-driven write chain.
#include "LogoSection.h"
#include "FiscalSectionFixture.h"
#include "LogoPicture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
class Logo : public FiscalSectionFixture {
protected:
    LogoSection &logo() { return section<LogoSection>(); }
    QString savePicture(const QImage &image, const char *name)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(image.save(path));
        return path;
    }
    static QImage filled(int w, int h, QColor c)
    {
        QImage i(w, h, QImage::Format_RGB32);
        i.fill(c);
        return i;
    }
    static QImage pattern()
    {
        QImage i = LogoPicture::blank();
        for (int y = 0; y < 128; ++y)
            for (int x = 0; x < 256; ++x)
                if ((x / 4 + y / 3) % 3 == 0)
                    i.setPixel(x, y, qRgb(0, 0, 0));
        return i;
    }
    QTemporaryDir dir;
};
} // namespace

TEST_F(Logo, StartUpState)
{
    auto *gb = find<QGroupBox>("GBLogo");
    EXPECT_EQ(gb->geometry(), QRect(4, 210, 392, 205));
    EXPECT_EQ(gb->title(), "Графички лого трговца (ЦБ 256x128 тачке) : ");
    EXPECT_FALSE(find<QCheckBox>("chbLogo")->isChecked());
    EXPECT_EQ(find<QLabel>("chbLogoLabel")->text(), "Штампање графичког лога?");
    auto *img = find<QLabel>("imgGraphLogo");
    EXPECT_EQ(img->size(), QSize(256, 128));
    EXPECT_EQ(logo().logo().size(), QSize(256, 128));
    EXPECT_EQ(find<QPushButton>("btnLogoOpen")->text(), "Учитавање лога из фаjла");
    EXPECT_EQ(find<QPushButton>("btnLogoRead")->text(), "Читање из касе");
    EXPECT_EQ(find<QPushButton>("btnLogoWrite")->text(), "Унос у касу");
    for (const char *name : {"chbLogo", "chbLogoLabel", "imgGraphLogo", "btnLogoOpen", "btnLogoRead", "btnLogoWrite"}) {
        auto *w = find<QWidget>(name);
        EXPECT_TRUE(w->isEnabled()) << name;
        EXPECT_EQ(w->parentWidget(), gb) << name;
        EXPECT_TRUE(gb->rect().contains(w->geometry())) << name;
    }
}

TEST_F(Logo, OpenLoadsTheChosenPictureAndWarnsAboutItsSize)
{
    const QString good = savePicture(pattern(), "good.png");
    const QString small = savePicture(filled(100, 50, Qt::black), "small.bmp");
    QString chosen;
    logo().setFileChooser([&] { return chosen; });

    QTest::mouseClick(find<QPushButton>("btnLogoOpen"), Qt::LeftButton); // cancelled
    EXPECT_EQ(logo().logo(), LogoPicture::blank());
    chosen = good;
    QTest::mouseClick(find<QPushButton>("btnLogoOpen"), Qt::LeftButton);
    EXPECT_EQ(logo().logo(), pattern());
    EXPECT_TRUE(messages.isEmpty());

    chosen = small;
    QTest::mouseClick(find<QPushButton>("btnLogoOpen"), Qt::LeftButton);
    EXPECT_EQ(messages, QStringList{"Грешка !!! |Грешка у подацима ! Упис је отказан"});
    EXPECT_EQ(logo().logo().size(), QSize(100, 50)); // kept although the size is wrong
    EXPECT_TRUE(transport.writes.isEmpty());

    EXPECT_FALSE(logo().loadLogoFile(dir.filePath("missing.png")));
    EXPECT_EQ(messages.size(), 2);
    EXPECT_TRUE(messages.last().startsWith("Грешка !!! |"));
    EXPECT_EQ(logo().logo().size(), QSize(100, 50));
}

TEST_F(Logo, TransparentPartsOfAPictureAreWhite)
{
    QImage argb(256, 128, QImage::Format_ARGB32);
    argb.fill(Qt::transparent);
    argb.setPixel(3, 4, qRgba(0, 0, 0, 255));
    ASSERT_TRUE(logo().loadLogoFile(savePicture(argb, "alpha.png")));
    const QByteArray b0 = LogoPicture::pack(logo().logo(), 0);
    EXPECT_EQ(b0.count('\0'), 255);
    EXPECT_EQ(uint8_t(b0.at(4 * 32)), 0x10);
}

TEST_F(Logo, CheckBoxBehaviour)
{
    auto *chb = find<QCheckBox>("chbLogo");
    chb->setChecked(true);
    chb->setChecked(false);
    EXPECT_FALSE(find<QPushButton>("btnLogoOpen")->isEnabled());
    EXPECT_FALSE(find<QLabel>("imgGraphLogo")->isEnabled());
    EXPECT_TRUE(find<QPushButton>("btnLogoWrite")->isEnabled()); // clearing keeps it

    reply(0x10, "\x04\x01"); // out of service mode: the write button goes off
    EXPECT_FALSE(find<QPushButton>("btnLogoWrite")->isEnabled());
    chb->setChecked(true);
    EXPECT_TRUE(find<QPushButton>("btnLogoOpen")->isEnabled());
    EXPECT_FALSE(find<QPushButton>("btnLogoWrite")->isEnabled());
    EXPECT_FALSE(find<QLabel>("imgGraphLogo")->isEnabled());

    chb->setChecked(false);
    reply(0x00, "\x04\x01");
    EXPECT_FALSE(find<QPushButton>("btnLogoWrite")->isEnabled());
    chb->setChecked(true);
    EXPECT_TRUE(find<QPushButton>("btnLogoWrite")->isEnabled());
    EXPECT_TRUE(find<QLabel>("imgGraphLogo")->isEnabled());
}

TEST_F(Logo, ReadChainDrawsBlocksThenAsksForTheFlag)
{
    QTest::mouseClick(find<QPushButton>("btnLogoRead"), Qt::LeftButton);
    ASSERT_EQ(transport.writes.size(), 1);
    EXPECT_EQ(transport.writes[0].toHex(' '), "5f e0 00 0d");
    EXPECT_TRUE(link().replyPending());

    const QImage expected = pattern();
    find<QPushButton>("btnLogoWrite")->setEnabled(false);
    for (int k = 0; k < 16; ++k) {
        reply(uint8_t(0xE0 + k), LogoPicture::pack(expected, k));
        ASSERT_EQ(transport.writes.size(), k + 2);
        if (k < 15) {
            EXPECT_EQ(progress(), k + 1);
            EXPECT_EQ(transport.writes.last(), QByteArray("\x5F") + char(0xE1 + k) + QByteArray("\x00\x0D", 2));
            EXPECT_EQ(status(), "Молим сачекајте...");
            // Rows of blocks not yet received keep their former pixels.
            EXPECT_EQ(logo().logo().pixel(0, 127), qRgb(255, 255, 255));
        }
    }
    EXPECT_TRUE(find<QPushButton>("btnLogoWrite")->isEnabled());
    EXPECT_EQ(transport.writes.last().toHex(' '), "5f 55 00 0d");
    EXPECT_EQ(logo().logo(), expected);

    reply(0x55, QByteArray(1, char(0xCC)));
    EXPECT_TRUE(find<QCheckBox>("chbLogo")->isChecked());
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(status(), "Молим сачекајте..."); // the flag reply leaves the status line as it is
    reply(0x55, QByteArray(1, char(0x00)));
    EXPECT_FALSE(find<QCheckBox>("chbLogo")->isChecked());
}

TEST_F(Logo, ReadIntoASmallerLoadedPictureMakesItFullSize)
{
    ASSERT_TRUE(logo().loadLogoFile(savePicture(filled(10, 10, Qt::red), "tiny.png")));
    reply(0xE3, QByteArray(256, char(0xFF)));
    EXPECT_EQ(logo().logo().size(), QSize(256, 128));
    EXPECT_EQ(logo().logo().pixel(255, 31), qRgb(0, 0, 0));
    EXPECT_EQ(logo().logo().pixel(255, 32), qRgb(255, 255, 255));
}

TEST_F(Logo, ReadRefusedOutsideServiceMode)
{
    link().setServiceMode(false);
    logo().btnLogoReadClick();
    EXPECT_TRUE(transport.writes.isEmpty());
    EXPECT_EQ(messages, QStringList{"Грешка !!! |Фискални принтер није у сервисном режиму."});
}

TEST_F(Logo, WriteChainFollowsTheDevice)
{
    ASSERT_TRUE(logo().loadLogoFile(savePicture(pattern(), "p.png")));
    QTest::mouseClick(find<QPushButton>("btnLogoWrite"), Qt::LeftButton);
    ASSERT_EQ(transport.writes.size(), 1);
    const QByteArray first = transport.writes[0];
    ASSERT_EQ(first.size(), 260);
    EXPECT_EQ(first.left(3), QByteArray("\x5F\xD0\xFF"));
    EXPECT_EQ(first.mid(3, 256), LogoPicture::pack(pattern(), 0));
    EXPECT_EQ(first.at(259), '\x0D');
    EXPECT_TRUE(link().replyPending()); // each block waits for the device's next request
    EXPECT_EQ(progress(), 1);
    EXPECT_EQ(status(), "Уписује у фискални принтер. Молим сачекајте...");

    // The device decides which block comes next, even one that skips ahead.
    reply(0xD5);
    ASSERT_EQ(transport.writes.size(), 2);
    EXPECT_EQ(transport.writes[1].left(3), QByteArray("\x5F\xD5\xFF"));
    EXPECT_EQ(transport.writes[1].mid(3, 256), LogoPicture::pack(pattern(), 5));
    EXPECT_EQ(progress(), 6);
    reply(0xDF);
    EXPECT_EQ(transport.writes[2].mid(3, 256), LogoPicture::pack(pattern(), 15));
    EXPECT_EQ(progress(), 6);

    reply(0x50);
    EXPECT_EQ(transport.writes.last().toHex(' '), "5f 50 01 33 0d");
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(status(), "Фискални принтер је у сервисном режиму...");
    find<QCheckBox>("chbLogo")->setChecked(true);
    reply(0x50);
    EXPECT_EQ(transport.writes.last().toHex(' '), "5f 50 01 cc 0d");
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Logo, WriteTakesPixelsFromThePictureAtTheClick)
{
    // A device asking before any write gets blank blocks.
    reply(0xD2);
    EXPECT_EQ(transport.writes.last().mid(3, 256), QByteArray(256, '\0'));

    ASSERT_TRUE(logo().loadLogoFile(savePicture(filled(8, 8, Qt::black), "black8.bmp")));
    messages.clear();
    QTest::mouseClick(find<QPushButton>("btnLogoWrite"), Qt::LeftButton);
    const QByteArray b0 = transport.writes.last().mid(3, 256);
    for (int r = 0; r < 8; ++r) {
        EXPECT_EQ(uint8_t(b0.at(r * 32)), 0xFF) << r;
        EXPECT_EQ(b0.mid(r * 32 + 1, 31), QByteArray(31, '\0')) << r;
    }
    // Loading another picture while the chain runs does not change the blocks still to come.
    ASSERT_TRUE(logo().loadLogoFile(savePicture(pattern(), "p.png")));
    reply(0xD1);
    EXPECT_EQ(transport.writes.last().mid(3, 256), QByteArray(256, '\0'));
}

TEST_F(Logo, WriteWithoutTransportOrServiceModeIsSafe)
{
    link().setServiceMode(false);
    logo().btnLogoWriteClick();
    EXPECT_TRUE(transport.writes.isEmpty());
    EXPECT_TRUE(messages.isEmpty());

    link().setServiceMode(true);
    link().setTransport(nullptr);
    logo().btnLogoWriteClick();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Грешка !!! |"));
    EXPECT_EQ(progress(), 0);
    EXPECT_EQ(status(), "Фискални принтер је у сервисном режиму...");
}
