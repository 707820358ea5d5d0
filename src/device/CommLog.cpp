#include "CommLog.h"

#include "DeviceLink.h"

#include <QDateTime>

CommLog::CommLog(DeviceLink &link, int maxEntries, QObject *parent) : QObject(parent), max_(std::max(1, maxEntries))
{
    tap(link, this, [this](const CommLogEntry &e) { add(e); });
}

void CommLog::tap(DeviceLink &link, QObject *context, std::function<void(const CommLogEntry &)> sink)
{
    using Kind = CommLogEntry::Kind;
    const auto now = [] { return QDateTime::currentMSecsSinceEpoch(); };
    QObject::connect(&link, &DeviceLink::frameSent, context, [sink, now](const QByteArray &bytes) {
        sink(CommLogEntry{now(), Kind::Sent, DeviceLink::Discard::NoStartByte, bytes});
    });
    QObject::connect(&link, &DeviceLink::frameRecognised, context, [sink, now](const QByteArray &bytes) {
        sink(CommLogEntry{now(), Kind::Received, DeviceLink::Discard::NoStartByte, bytes});
    });
    QObject::connect(&link, &DeviceLink::bytesDiscarded, context,
                     [sink, now](const QByteArray &bytes, DeviceLink::Discard why) {
                         sink(CommLogEntry{now(), Kind::Discarded, why, bytes});
                     });
}

void CommLog::clear()
{
    first_ += entries_.size();
    entries_.clear();
}

void CommLog::add(const CommLogEntry &entry)
{
    if (int(entries_.size()) >= max_) {
        entries_.pop_front();
        ++first_;
    }
    entries_.push_back(entry);
}
