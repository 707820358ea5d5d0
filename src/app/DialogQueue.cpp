#include "DialogQueue.h"

#include "TDialog.h"

#include <QMetaObject>

DialogQueue::DialogQueue(TDialog &dialog, QObject *parent) : QObject(parent), dialog_(dialog) {}

bool DialogQueue::isOpen() const
{
    return open_ || dialog_.isVisible();
}

int DialogQueue::show(const QString &title, const QString &text, bool twoButtons)
{
    if (twoButtons)
        return isOpen() ? 0 : present(title, text, true);
    if (muted_)
        return 0;
    if (isOpen() || !waiting_.isEmpty()) {
        waiting_.append({title, text});
        if (!isOpen())
            scheduleNext();
        return 0;
    }
    return present(title, text, false);
}

int DialogQueue::present(const QString &title, const QString &text, bool twoButtons)
{
    open_ = true;
    const int result = dialog_.ask(title, text, twoButtons);
    open_ = false;
    scheduleNext();
    return result;
}

void DialogQueue::scheduleNext()
{
    if (scheduled_ || waiting_.isEmpty())
        return;
    scheduled_ = true;
    QMetaObject::invokeMethod(this, &DialogQueue::showNext, Qt::QueuedConnection);
}

void DialogQueue::showNext()
{
    scheduled_ = false;
    // A dialog opened meanwhile schedules the rest when it closes.
    if (isOpen() || waiting_.isEmpty())
        return;
    const Message m = waiting_.takeFirst();
    present(m.title, m.text, false);
}
