// The message dialog: its two modes, results, geometry and key handling.
#include "TDialog.h"
#include "UiText.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
// Shows the dialog for real (exec) and lets `act` press something once it is up.
int execAndDo(TDialog &d, const std::function<void()> &act)
{
    QTimer::singleShot(0, &d, [&] {
        EXPECT_TRUE(d.isVisible());
        act();
        if (d.isVisible()) // the action closed nothing: close through the window's close box
            d.close();
    });
    return d.exec();
}
} // namespace

TEST(TDialog, FixedGeometryAndControls)
{
    TDialog d;
    EXPECT_EQ(d.objectName(), "Dialog");
    EXPECT_EQ(d.size(), QSize(386, 137));
    EXPECT_EQ(d.minimumSize(), d.maximumSize());
    EXPECT_TRUE(d.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(d.windowTitle().isEmpty());
    EXPECT_EQ(d.Naslov->objectName(), "Naslov");
    EXPECT_EQ(d.Naslov->geometry(), QRect(8, 0, 361, 20));
    EXPECT_EQ(d.tekst->objectName(), "tekst");
    EXPECT_EQ(d.tekst->geometry(), QRect(8, 29, 361, 41));
    EXPECT_TRUE(d.tekst->isReadOnly());
    EXPECT_FALSE(d.Button1->isDefault());
    EXPECT_FALSE(d.Button1->autoDefault());
    EXPECT_FALSE(d.Button2->autoDefault());
    EXPECT_FALSE(d.twoButtons());
}

TEST(TDialog, OneButtonModeConfirmsWithResultOne)
{
    TDialog d;
    d.Naslov->setText(UiText(Txt::TitleInfo));
    d.tekst->setPlainText(UiText(Txt::WriteOk));
    const int r = execAndDo(d, [&] {
        EXPECT_FALSE(d.Button2->isVisible());
        EXPECT_EQ(d.Button1->geometry(), QRect(152, 78, 80, 24));
        EXPECT_EQ(d.Button1->text(), "У РЕДУ");
        EXPECT_TRUE(d.tekst->hasFocus() || !QApplication::focusWidget());
        QTest::mouseClick(d.Button1, Qt::LeftButton);
    });
    EXPECT_EQ(r, 1);
    EXPECT_EQ(d.dialogResult(), 1);
    // Title and text stay after closing.
    EXPECT_EQ(d.Naslov->text(), "Информација !!!");
}

TEST(TDialog, TwoButtonModeCancelAndCloseBoxGiveZero)
{
    TDialog d;
    d.setTwoButtons(true);
    int r = execAndDo(d, [&] {
        EXPECT_TRUE(d.Button2->isVisible());
        EXPECT_EQ(d.Button2->text(), "ОТКАЗ");
        EXPECT_EQ(d.Button1->x(), 103);
        EXPECT_EQ(d.Button2->geometry(), QRect(198, 78, 80, 24));
        QTest::mouseClick(d.Button2, Qt::LeftButton);
    });
    EXPECT_EQ(r, 0);

    r = execAndDo(d, [&] { QTest::mouseClick(d.Button1, Qt::LeftButton); });
    EXPECT_EQ(r, 1);
    // Showing again resets the result to 0 before the user acts; the close box leaves it at 0.
    r = execAndDo(d, [&] { EXPECT_EQ(d.dialogResult(), 0); });
    EXPECT_EQ(r, 0);
}

TEST(TDialog, EnterAndEscapeCloseNothing)
{
    TDialog d;
    bool stillOpen = false;
    execAndDo(d, [&] {
        QTest::keyClick(&d, Qt::Key_Escape);
        QTest::keyClick(&d, Qt::Key_Return);
        QTest::keyClick(d.tekst, Qt::Key_Enter);
        stillOpen = d.isVisible();
    });
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(d.dialogResult(), 0);
}

TEST(TDialog, AskSetsTitleTextAndClearsTwoButtonFlagAfterwards)
{
    TDialog d;
    bool sawTwo = false;
    d.setResponder([&](TDialog &dd) {
        sawTwo = dd.Button2->isVisibleTo(&dd);
        return 1;
    });
    EXPECT_EQ(d.ask(UiText(Txt::TitleWarning), UiText(Txt::FiscalizeQuestion), true), 1);
    EXPECT_TRUE(sawTwo);
    EXPECT_FALSE(d.twoButtons());
    EXPECT_EQ(d.Naslov->text(), "Пажња!!! ");
    d.ask(UiText(Txt::TitleError), "x");
    EXPECT_FALSE(sawTwo);
}

TEST(TDialog, LongTextWrapsAndNeverGrowsTheDialog)
{
    TDialog d;
    QString longText;
    for (int i = 0; i < 40; ++i)
        longText += UiText(Txt::NoAnswer) + ' ';
    d.setResponder([](TDialog &) { return 0; });
    d.ask(UiText(Txt::TitleError), longText);
    EXPECT_EQ(d.size(), QSize(386, 137));
    EXPECT_EQ(d.tekst->size(), QSize(361, 41));
    EXPECT_EQ(d.tekst->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(d.tekst->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}
