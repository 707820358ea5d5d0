#include "PaintThrottle.h"

#include <QEvent>

PaintThrottle::PaintThrottle(const QList<QWidget *> &widgets, int intervalMs, QObject *parent) : QObject(parent)
{
    for (QWidget *w : widgets) {
        widgets_.append(w);
        w->installEventFilter(this);
    }
    timer_.setSingleShot(true);
    timer_.setInterval(intervalMs);
    connect(&timer_, &QTimer::timeout, this, &PaintThrottle::tick);
}

void PaintThrottle::aboutToChange()
{
    if (held_) {
        if (open_)
            close();
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
    unpainted_ = 0;
    for (const QPointer<QWidget> &w : widgets_) {
        if (!w)
            continue;
        w->setUpdatesEnabled(true);
        ++unpainted_;
        w->repaint();
    }
    // The window may hold its painting back for a moment (after a request went out on a serial
    // line). Widgets that did not paint at once keep their updates on until the next change, so
    // that the paint that comes when the hold ends is not dropped.
    open_ = true;
    if (unpainted_ == 0)
        close();
    timer_.start();
}

void PaintThrottle::close()
{
    open_ = false;
    for (const QPointer<QWidget> &w : widgets_)
        if (w)
            w->setUpdatesEnabled(false);
}

bool PaintThrottle::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && unpainted_ > 0)
        --unpainted_;
    return QObject::eventFilter(watched, event);
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
    open_ = false;
    for (const QPointer<QWidget> &w : widgets_)
        if (w)
            w->setUpdatesEnabled(!held); // enabling schedules the paint of what changed meanwhile
}
