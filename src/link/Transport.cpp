#include "Transport.h"

#include <QMetaObject>

void Transport::deliver(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    QMetaObject::invokeMethod(
        this,
        [this, bytes, generation = generation_] {
            if (generation == generation_)
                emit received(bytes);
        },
        Qt::QueuedConnection);
}

void Transport::deliverClosed()
{
    QMetaObject::invokeMethod(
        this,
        [this, generation = generation_] {
            if (generation == generation_)
                emit closed();
        },
        Qt::QueuedConnection);
}
