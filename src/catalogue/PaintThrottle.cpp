#include "PaintThrottle.h"

PaintThrottle::PaintThrottle(const QList<QWidget *> &widgets, int intervalMs, QObject *parent) : QObject(parent)
{
    for (QWidget *w : widgets)
        widgets_.append(w);
    timer_.setSingleShot(true);
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, &PaintThrottle::tick);
}

void PaintThrottle::aboutToChange()
{
    if (held_) {
        changed_ = true;
        return;
    }
    if (!timer_.isActive()) {
        // After a quiet spell the change paints at once; the interval starts now.
        timer_.start();
        return;
    }
    // A second change within the interval: hold painting until it ends.
    setHeld(true);
    changed_ = true;
}

void PaintThrottle::tick()
{
    if (!held_)
        return;
    if (!changed_) {
        // Nothing changed during the last interval: the changes have stopped.
        setHeld(false);
        return;
    }
    changed_ = false;
    for (const QPointer<QWidget> &w : widgets_) {
        if (!w)
            continue;
        w->setUpdatesEnabled(true);
        w->repaint();
        w->setUpdatesEnabled(false);
    }
    timer_.start();
}

void PaintThrottle::release()
{
    timer_.stop();
    setHeld(false);
    changed_ = false;
}

void PaintThrottle::setHeld(bool held)
{
    held_ = held;
    for (const QPointer<QWidget> &w : widgets_)
        if (w)
            w->setUpdatesEnabled(!held); // enabling schedules the paint of what changed meanwhile
}
