#pragma once
// The communication log as a list for the log window: copies new entries from the log in batches
// (a timer, not every frame), keeps the last 100000 and formats only the lines that are shown.

#include "CommLogEntry.h"

#include <QAbstractListModel>
#include <QTimer>

#include <deque>

class CommLog;

class CommLogModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int kSyncIntervalMs = 200;
    // Role with "out" for sent frames and "in" for everything received, for the direction filter.
    static constexpr int DirectionRole = Qt::UserRole + 1;

    explicit CommLogModel(CommLog &log, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // Takes the entries that came since the last call (the timer calls it while not paused).
    void sync();
    // Paused: the list stays as it is while the log goes on recording; resuming catches up.
    void setPaused(bool paused);
    bool paused() const { return paused_; }
    // Copying by the timer on or off (off while the window is hidden: nobody looks at the list).
    void setSyncing(bool on);
    // Entries recorded since the list last caught up.
    int waiting() const;
    // Empties the list and the log behind it.
    void clear();
    // The line of one row, as the window shows it and a saved file holds it (with its newline).
    QByteArray line(int row) const;
    const CommLogEntry &entry(int row) const { return rows_[size_t(row)]; }

signals:
    // New rows came in (or old ones went): the window may scroll and update its counts.
    void synced();

private:
    CommLog &log_;
    std::deque<CommLogEntry> rows_;
    quint64 next_ = 0; // number of the next log entry to copy
    bool paused_ = false;
    QTimer timer_;
};
