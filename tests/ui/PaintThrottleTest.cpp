// Painting of fast-changing labels is held back during a burst and always comes back afterwards.
#include "PaintThrottle.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace {
// Counts the paint events a label receives.
class CountingLabel : public QLabel {
public:
    using QLabel::QLabel;
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *e) override
    {
        ++paints;
        QLabel::paintEvent(e);
    }
};
} // namespace

TEST(PaintThrottle, BurstIsPaintedAFewTimesAndReleasedAfterwards)
{
    QWidget window;
    window.resize(200, 100);
    auto *label = new CountingLabel(&window);
    label->setGeometry(10, 10, 100, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(20);
    PaintThrottle throttle({label}, 40);

    label->paints = 0;
    QElapsedTimer t;
    t.start();
    const int changes = 300;
    for (int i = 1; i <= changes; ++i) {
        throttle.aboutToChange();
        label->setText(QString::number(i));
        QCoreApplication::processEvents();
    }
    const qint64 elapsed = t.elapsed();
    EXPECT_TRUE(throttle.holding());
    EXPECT_FALSE(label->updatesEnabled());
    EXPECT_EQ(label->text(), QString::number(changes)); // the text itself is always current
    EXPECT_GE(label->paints, 1);
    // About one paint per 40 ms instead of one per change.
    EXPECT_LE(label->paints, 2 + elapsed / 40) << elapsed << " ms";
    EXPECT_LT(label->paints, changes / 2);

    // Once the changes stop, the label paints freely again and shows the last text.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !throttle.holding(); }, 1000));
    EXPECT_TRUE(label->updatesEnabled());
    const int before = label->paints;
    label->setText("after");
    QTest::qWait(20);
    EXPECT_GT(label->paints, before);
}

TEST(PaintThrottle, ReleaseEndsTheHoldAtOnce)
{
    QLabel label;
    label.show();
    PaintThrottle throttle({&label}, 1000);
    throttle.aboutToChange(); // the first change paints as usual
    EXPECT_FALSE(throttle.holding());
    throttle.aboutToChange();
    EXPECT_TRUE(throttle.holding());
    EXPECT_FALSE(label.updatesEnabled());
    throttle.release();
    EXPECT_FALSE(throttle.holding());
    EXPECT_TRUE(label.updatesEnabled());
}
