#pragma once
// The communication log: every frame sent and received on a link and the bytes that formed no
// frame, the last 100000 of them, kept without a window so a view can show them later.

#include "CommLogEntry.h"

#include <QObject>

#include <deque>
#include <functional>

class DeviceLink;

class CommLog : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxEntries = 100000;

    // Records what `link` sends and receives from now on.
    explicit CommLog(DeviceLink &link, int maxEntries = kMaxEntries, QObject *parent = nullptr);

    // Calls `sink` with an entry for every frame sent, reply recognised and run of bytes
    // discarded on `link`, as long as `context` lives; the one place entries are made, for the
    // window's log and quorvel-cli --log alike.
    static void tap(DeviceLink &link, QObject *context, std::function<void(const CommLogEntry &)> sink);

    int size() const { return int(entries_.size()); }
    int maxEntries() const { return max_; }
    // Entries are numbered from 0 in the order they came, across drops and clears: the oldest
    // entry held has number first(), the next one to come number end().
    quint64 first() const { return first_; }
    quint64 end() const { return first_ + entries_.size(); }
    // The entry numbered `n` (first() <= n < end()).
    const CommLogEntry &entry(quint64 n) const { return entries_[size_t(n - first_)]; }
    // Forgets every entry held (numbering goes on).
    void clear();
    // Adds one entry; the oldest goes when the log is full.
    void add(const CommLogEntry &entry);

private:
    std::deque<CommLogEntry> entries_;
    quint64 first_ = 0;
    int max_;
};
