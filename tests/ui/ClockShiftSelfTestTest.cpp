// Clock shift and self-tests on the fourth page: the frames sent and the refusals.
#include "MaintenanceFixture.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QProgressBar>

namespace {
const QString kNoChoice = QStringLiteral("Грешка !!! |Није изабрана ни једна опција!");
const QString kRefused = QStringLiteral("Грешка !!! |Фискални принтер није у сервисном режиму.");

class ClockShift : public MaintenanceFixture {};
class SelfTest : public MaintenanceFixture {};
} // namespace

TEST_F(ClockShift, SendsTheChosenDirectionEveryPress)
{
    start();
    EXPECT_EQ(text("lbl_rbnapred"), QStringLiteral("1 сат унапред"));
    EXPECT_EQ(text("lbl_rbnazad"), QStringLiteral("1 сат уназад"));
    EXPECT_EQ(text("BtnSat"), QStringLiteral("Унос у касу"));
    EXPECT_FALSE(child<QRadioButton>("rbnapred")->isChecked());
    EXPECT_FALSE(child<QRadioButton>("rbnazad")->isChecked());

    click("BtnSat");
    EXPECT_EQ(messages, QStringList{kNoChoice});
    EXPECT_TRUE(transport.writes.isEmpty());

    const QString status = window->statusText();
    child<QRadioButton>("rbnapred")->setChecked(true);
    click("BtnSat");
    click("BtnSat");
    ASSERT_EQ(transport.writes.size(), 2);
    EXPECT_EQ(transport.writes[0], hexBytes({0x5F, 0x67, 0x00, 0x0D}));
    EXPECT_EQ(transport.writes[1], hexBytes({0x5F, 0x67, 0x00, 0x0D}));
    child<QRadioButton>("rbnazad")->setChecked(true);
    EXPECT_FALSE(child<QRadioButton>("rbnapred")->isChecked());
    click("BtnSat");
    EXPECT_EQ(transport.lastWrite(), hexBytes({0x5F, 0x69, 0x00, 0x0D}));
    // Sent at once: no waiting text, no reply timer.
    EXPECT_EQ(window->statusText(), status);
    EXPECT_FALSE(link().replyTimer().isActive());
    EXPECT_EQ(messages.size(), 1);
}

TEST_F(ClockShift, RefusedOutsideServiceModeAndNeverDisabled)
{
    start();
    child<QRadioButton>("rbnapred")->setChecked(true);
    leaveServiceMode();
    EXPECT_TRUE(child<QPushButton>("BtnSat")->isEnabled());
    click("BtnSat");
    EXPECT_EQ(messages, QStringList{kRefused});
    EXPECT_TRUE(transport.writes.isEmpty());
}

TEST_F(ClockShift, ClickOnACaptionChoosesItsButton)
{
    start();
    auto *label = child<QLabel>("lbl_rbnazad");
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), label->mapToGlobal(QPointF(2, 2)), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(label, &press);
    EXPECT_TRUE(child<QRadioButton>("rbnazad")->isChecked());
}

TEST_F(SelfTest, FramesWithFactoryNumber)
{
    start("123456\r\nsecond line\r\n");
    EXPECT_EQ(text("lbl_LCDtest"), QStringLiteral("тест дисплеја"));
    EXPECT_EQ(text("lbl_PRNtest"), QStringLiteral("тест штампача"));
    EXPECT_EQ(text("lbl_FMtest"), QStringLiteral("тест фискалне меморије"));
    EXPECT_EQ(text("lbl_PMtest"), QStringLiteral("тест програмске меморије"));
    EXPECT_EQ(text("BtnTest"), QStringLiteral("Уради тест"));
    EXPECT_EQ(child<QWidget>("GroupBox4")->geometry(), QRect(4, 220, 300, 190));

    struct Case {
        const char *button;
        QByteArray frame;
    };
    const Case cases[] = {
        {"rbLCDtest", hexBytes({0xAA, 0x04, 0x01, 0x12, 0x34, 0x56, 0x01, 0x19, 0x00, 0x65, 0xC7, 0x0D})},
        {"rbPRNtest", hexBytes({0xAA, 0x04, 0x01, 0x12, 0x34, 0x56, 0x01, 0x1A, 0x00, 0x66, 0xC4, 0x0D})},
        {"rbFMtest", hexBytes({0xAA, 0x04, 0x01, 0x12, 0x34, 0x56, 0x01, 0x1B, 0x00, 0x67, 0xC5, 0x0D})},
        {"rbPMtest", hexBytes({0xAA, 0x04, 0x01, 0x12, 0x34, 0x56, 0x01, 0x1C, 0x00, 0x68, 0xC2, 0x0D})},
    };
    const QString status = window->statusText();
    for (const Case &c : cases) {
        child<QRadioButton>(c.button)->setChecked(true);
        transport.writes.clear();
        click("BtnTest");
        click("BtnTest");
        ASSERT_EQ(transport.writes.size(), 2) << c.button;
        EXPECT_EQ(transport.writes[0], c.frame) << c.button;
        EXPECT_EQ(transport.writes[1], c.frame) << c.button;
    }
    EXPECT_EQ(window->statusText(), status);
    EXPECT_FALSE(link().replyTimer().isActive());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(SelfTest, FramesWithoutIniAndWithShortNumber)
{
    start();
    child<QRadioButton>("rbLCDtest")->setChecked(true);
    click("BtnTest");
    EXPECT_EQ(transport.lastWrite(),
              hexBytes({0xAA, 0x04, 0x01, 0x00, 0x00, 0x00, 0x01, 0x19, 0x00, 0xC9, 0xB7, 0x0D}));
}

TEST_F(SelfTest, ShortFactoryNumberIsRightAligned)
{
    start("42\n");
    child<QRadioButton>("rbPMtest")->setChecked(true);
    click("BtnTest");
    const QByteArray f = transport.lastWrite();
    ASSERT_EQ(f.size(), 12);
    EXPECT_EQ(f.mid(3, 3), hexBytes({0x00, 0x00, 0x42}));
    EXPECT_EQ(uint8_t(f[7]), 0x1C);
}

TEST_F(SelfTest, NoChoiceAndOutsideServiceMode)
{
    start("123456");
    click("BtnTest");
    EXPECT_EQ(messages, QStringList{kNoChoice});
    child<QRadioButton>("rbFMtest")->setChecked(true);
    leaveServiceMode();
    EXPECT_TRUE(child<QPushButton>("BtnTest")->isEnabled());
    click("BtnTest");
    EXPECT_EQ(messages, (QStringList{kNoChoice, kRefused}));
    EXPECT_TRUE(transport.writes.isEmpty());
}
