// The message dialog: its two modes, results, geometry and key handling.
#include "TDialog.h"
#include "DeviceErrors.h"
#include "ToolText.h"
#include "UiText.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QWindow>

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
    EXPECT_EQ(d.tekst->lineWrapMode(), QTextEdit::WidgetWidth);
    EXPECT_EQ(d.tekst->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
}

namespace {
// Shows `text` in the open dialog and reports, from inside its event loop, whether the whole
// text fits the text box and whether the vertical scroll bar shows.
struct Fit {
    bool whole = false;
    bool scrollBar = false;
    int scrollRange = 0;
};
Fit shownFit(TDialog &d, const QString &text)
{
    Fit fit;
    d.Naslov->setText(UiText(Txt::TitleError));
    d.tekst->setPlainText(text);
    execAndDo(d, [&] {
        QCoreApplication::processEvents();
        fit.whole = d.tekst->document()->size().height() <= d.tekst->viewport()->height();
        fit.scrollBar = d.tekst->verticalScrollBar()->isVisible();
        fit.scrollRange = d.tekst->verticalScrollBar()->maximum();
    });
    return fit;
}
} // namespace

TEST(TDialog, EveryMessageUpToTheQuestionsLengthShowsWholeWithoutAScrollBar)
{
    TDialog d;
    const QString question = UiText(Txt::FiscalizeQuestion);
    QStringList messages{question, ToolText::unencodableQuestion(QStringLiteral("Č Ć Š Ž Đ"))};
    for (int entry = 0; entry <= 41; ++entry)
        messages.append(UiText(entry));
    for (int code = 0; code < 100; ++code)
        messages.append(DeviceErrorCodeText(code));
    for (int bit = 0; bit < 32; ++bit) {
        const uint32_t word = uint32_t(1) << bit;
        messages.append(QStringLiteral("Грешка! ") + DescribeDeviceError(uint8_t(word >> 24), uint8_t(word >> 16),
                                                                         uint8_t(word >> 8), uint8_t(word)));
    }
    for (const QString &m : messages) {
        if (m.size() > question.size())
            continue;
        const Fit fit = shownFit(d, m);
        EXPECT_TRUE(fit.whole) << m.toStdString();
        EXPECT_FALSE(fit.scrollBar) << m.toStdString();
    }
    // The geometry is kept while doing so.
    EXPECT_EQ(d.tekst->geometry(), QRect(8, 29, 361, 41));
    EXPECT_EQ(d.size(), QSize(386, 137));
}

TEST(TDialog, ALongListOfDeviceErrorsCanBeScrolledToItsEnd)
{
    TDialog d;
    const QString all = QStringLiteral("Грешка! ") + DescribeDeviceError(0xFF, 0xFF, 0xFF, 0xFF);
    d.Naslov->setText(UiText(Txt::TitleError));
    d.tekst->setPlainText(all);
    bool scrollBar = false;
    bool lastLineReached = false;
    bool questionWhole = false;
    execAndDo(d, [&] {
        QCoreApplication::processEvents();
        QScrollBar *bar = d.tekst->verticalScrollBar();
        scrollBar = bar->isVisible() && bar->maximum() > 0;
        bar->setValue(bar->maximum());
        QCoreApplication::processEvents();
        // The end of the text, the last bit's number, is now inside the box.
        QTextCursor end(d.tekst->document());
        end.movePosition(QTextCursor::End);
        lastLineReached = d.tekst->viewport()->rect().contains(d.tekst->cursorRect(end).center());
        EXPECT_EQ(d.tekst->toPlainText(), all); // nothing cut

        // A question put into the open dialog fits whole as well, without the bar.
        d.tekst->setPlainText(UiText(Txt::FiscalizeQuestion));
        QCoreApplication::processEvents();
        questionWhole = d.tekst->document()->size().height() <= d.tekst->viewport()->height() && !bar->isVisible();
    });
    EXPECT_TRUE(scrollBar);
    EXPECT_TRUE(lastLineReached);
    EXPECT_TRUE(questionWhole);
}

TEST(TDialog, WindowCaptionShowsNothing)
{
    QCoreApplication::setApplicationName(QStringLiteral("Quorvel"));
    TDialog d;
    QString platformTitle;
    execAndDo(d, [&] { platformTitle = d.windowHandle() ? d.windowHandle()->title() : QStringLiteral("none"); });
    EXPECT_TRUE(d.windowTitle().isEmpty());
    // An empty platform title would be replaced by the program's name; the one the window carries
    // is not empty and has nothing to show.
    EXPECT_FALSE(platformTitle.isEmpty());
    for (QChar c : platformTitle)
        EXPECT_EQ(c.category(), QChar::Other_Format) << platformTitle.toStdString();
}
