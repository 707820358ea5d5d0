// How the window's controls look: disabled buttons and labels are greyed, not in the caption colour.
#include "MaintenanceFixture.h"

#include <QCheckBox>
#include <QImage>

#include <gtest/gtest.h>

namespace {
// Pixels of the control as drawn that are clearly the blue (or red) of the window's captions.
int pixelsOf(QWidget *w, QColor target)
{
    const QImage image = w->grab().toImage();
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - target.red()) < 60 && std::abs(c.green() - target.green()) < 60 &&
                std::abs(c.blue() - target.blue()) < 60)
                ++n;
        }
    return n;
}

class ControlLook : public MaintenanceFixture {
protected:
    void SetUp() override
    {
        MaintenanceFixture::SetUp();
        start();
        window->show();
    }
};
} // namespace

TEST_F(ControlLook, DisabledButtonsAndLabelsAreNotDrawnInTheCaptionColour)
{
    auto *write = child<QPushButton>("btnCompanyWrite");
    write->setEnabled(true);
    EXPECT_GT(pixelsOf(write, Qt::blue), 5) << "an enabled caption is blue";
    write->setEnabled(false);
    EXPECT_EQ(pixelsOf(write, Qt::blue), 0);
    EXPECT_NE(write->palette().color(QPalette::Disabled, QPalette::ButtonText), QColor(Qt::blue));

    // A receipt line that is switched off greys its edit and the edit's caption.
    auto *box = child<QCheckBox>("chbFTop");
    auto *caption = child<QLabel>("edtFTopLabel");
    box->setChecked(true);
    ASSERT_TRUE(caption->isEnabled());
    EXPECT_GT(pixelsOf(caption, Qt::blue), 5);
    box->setChecked(false);
    ASSERT_FALSE(caption->isEnabled());
    EXPECT_EQ(pixelsOf(caption, Qt::blue), 0);

    // The red captions grey out the same way.
    auto *exit = child<QPushButton>("btnClose");
    EXPECT_GT(pixelsOf(exit, Qt::red), 5);
    exit->setEnabled(false);
    EXPECT_EQ(pixelsOf(exit, Qt::red), 0);
}
