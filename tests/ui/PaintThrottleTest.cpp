// Painting of fast-changing labels is held back during a burst and always comes back afterwards.
#include "PaintThrottle.h"

#include "CountingLabel.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

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
    label->painted.clear();
    // A burst several intervals long, so that the periodic repaint while painting is held back
    // has to run a number of times.
    QElapsedTimer t;
    t.start();
    int changes = 0;
    int paintsWhileHolding = 0;
    while (t.elapsed() < 400 || changes < 300) {
        throttle.aboutToChange();
        label->setText(QString::number(++changes));
        const int before = label->paints;
        QCoreApplication::processEvents();
        if (throttle.holding())
            paintsWhileHolding += label->paints - before;
    }
    const qint64 elapsed = t.elapsed();
    EXPECT_TRUE(throttle.holding());
    EXPECT_FALSE(label->updatesEnabled());
    EXPECT_EQ(label->text(), QString::number(changes)); // the text itself is always current
    // About one paint per 40 ms instead of one per change, and they do happen during the hold.
    EXPECT_GE(paintsWhileHolding, 3) << elapsed << " ms, " << changes << " changes";
    EXPECT_LE(label->paints, 2 + elapsed / 40) << elapsed << " ms";
    EXPECT_LT(label->paints, changes / 2);
    // Each periodic paint shows the text of its moment: ever later numbers, never an older one.
    int last = 0;
    for (const QString &p : label->painted) {
        EXPECT_GE(p.toInt(), last) << p.toStdString();
        last = p.toInt();
    }

    // Once the changes stop, the label is painted with the last text and paints freely again.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !throttle.holding(); }, 1000));
    EXPECT_TRUE(label->updatesEnabled());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !label->painted.isEmpty() && label->painted.last() == QString::number(changes); }, 1000))
        << label->painted.join(' ').toStdString();
    const int before = label->paints;
    label->setText("after");
    QTest::qWait(20);
    EXPECT_GT(label->paints, before);
    EXPECT_EQ(label->painted.last(), "after");
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
