#include "PaintHold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

PaintHold::PaintHold(QWidget &window, int milliseconds, QObject *parent) : QObject(parent), window_(window)
{
    timer_.setSingleShot(true);
    timer_.setInterval(milliseconds);
    connect(&timer_, &QTimer::timeout, this, &PaintHold::release);
    window_.installEventFilter(this);
}

void PaintHold::hold()
{
    if (!timer_.isActive())
        timer_.start();
}

bool PaintHold::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &window_ && event->type() == QEvent::UpdateRequest && timer_.isActive() && !releasing_) {
        pending_ = true;
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void PaintHold::release()
{
    if (!pending_)
        return;
    pending_ = false;
    // At once, and past any hold that starts meanwhile: a chain that writes faster than a hold
    // lasts would otherwise never paint.
    releasing_ = true;
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(&window_, &request);
    releasing_ = false;
}
