// A window's painting waits during a short hold after a request went out, and always comes back.
#include "PaintHold.h"

#include "CountingLabel.h"
#include "PaintThrottle.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace {
// A small window with one counting label, shown.
struct Window {
    QWidget window;
    CountingLabel *label = new CountingLabel(&window);
    Window()
    {
        window.resize(200, 100);
        label->setGeometry(10, 10, 100, 20);
        window.show();
    }
};
} // namespace

TEST(PaintHold, ChangesDuringAHoldArePaintedOnceItEnds)
{
    Window w;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.window));
    QTest::qWait(20);
    PaintHold hold(w.window, 200); // long enough for a slow machine to check within it

    hold.hold();
    w.label->paints = 0;
    w.label->painted.clear();
    w.label->setText("one");
    QCoreApplication::processEvents();
    w.label->setText("two");
    QCoreApplication::processEvents();
    EXPECT_TRUE(hold.holding());
    EXPECT_EQ(w.label->paints, 0);
    // A repaint asked for at once waits too.
    w.label->repaint();
    EXPECT_EQ(w.label->paints, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.label->paints > 0; }, 1000));
    EXPECT_FALSE(hold.holding());
    EXPECT_EQ(w.label->painted, QStringList{"two"});

    // Without a hold the window paints as ever.
    w.label->setText("three");
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.label->painted.last() == "three"; }, 1000));
}

TEST(PaintHold, ACounterHeldBackByItsThrottlePaintsWhenTheHoldEnds)
{
    // A counter whose painting is held back repaints once every interval. When that repaint falls
    // into a hold, the counter must still show its value once the hold is over, not only at the
    // next interval after a further change.
    Window w;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.window));
    QTest::qWait(20);
    PaintThrottle throttle({w.label}, 20);
    PaintHold hold(w.window, 30);
    throttle.aboutToChange(); // the interval starts: its end falls into the hold
    w.label->setText("1");
    throttle.aboutToChange(); // a second change within the interval: painting is held back
    w.label->setText("2");
    ASSERT_TRUE(throttle.holding());
    w.label->paints = 0;
    w.label->painted.clear();
    hold.hold();
    // The next change comes after the hold, before the interval after it ends (timers fire in
    // the order they are due, however late the machine runs them).
    QTimer::singleShot(35, [&] {
        EXPECT_FALSE(hold.holding());
        throttle.aboutToChange();
        w.label->setText("3");
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return w.label->painted.contains("3"); }, 1000))
        << w.label->painted.join(' ').toStdString();
    EXPECT_EQ(w.label->painted.first(), "2") << w.label->painted.join(' ').toStdString();
}

TEST(PaintHold, HoldsAskedForAgainAndAgainDoNotStopPainting)
{
    // In a fast chain a request goes out every fraction of a millisecond: the window still paints
    // about once per hold.
    Window w;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.window));
    QTest::qWait(20);
    PaintHold hold(w.window, 5);
    w.label->paints = 0;
    QElapsedTimer t;
    t.start();
    int n = 0;
    while (t.elapsed() < 200) {
        hold.hold();
        w.label->setText(QString::number(++n));
        QCoreApplication::processEvents();
    }
    EXPECT_GE(w.label->paints, 5) << n << " changes"; // about 40 on a quiet machine
    EXPECT_LT(w.label->paints, n / 2);
}
