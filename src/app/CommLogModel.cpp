#include "CommLogModel.h"

#include "CommLog.h"
#include "CommLogLine.h"

#include <QColor>

CommLogModel::CommLogModel(CommLog &log, QObject *parent) : QAbstractListModel(parent), log_(log)
{
    next_ = log_.first();
    timer_.setInterval(kSyncIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &CommLogModel::sync);
    timer_.start();
    sync();
}

int CommLogModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

QByteArray CommLogModel::line(int row) const
{
    return CommLogLine::format(rows_[size_t(row)]);
}

QVariant CommLogModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= int(rows_.size()))
        return {};
    const CommLogEntry &e = rows_[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole: {
        QByteArray text = line(index.row());
        text.chop(1);
        return QString::fromUtf8(text);
    }
    case DirectionRole:
        return e.incoming() ? QStringLiteral("in") : QStringLiteral("out");
    case Qt::ForegroundRole:
        // Sent dark blue, received black, bytes that formed no frame red.
        if (e.kind == CommLogEntry::Kind::Discarded)
            return QColor(Qt::darkRed);
        return e.kind == CommLogEntry::Kind::Sent ? QColor(Qt::darkBlue) : QColor(Qt::black);
    default:
        return {};
    }
}

void CommLogModel::setSyncing(bool on)
{
    if (on) {
        sync();
        timer_.start();
    } else {
        timer_.stop();
    }
}

int CommLogModel::waiting() const
{
    return int(log_.end() - std::max(next_, log_.first()));
}

void CommLogModel::setPaused(bool paused)
{
    paused_ = paused;
    if (!paused_)
        sync();
}

void CommLogModel::sync()
{
    if (paused_) {
        // The list keeps still; the window still says how many lines wait.
        emit synced();
        return;
    }
    // Entries the log dropped before they were copied are gone for the list as well.
    next_ = std::max(next_, log_.first());
    const quint64 end = log_.end();
    if (next_ >= end)
        return;
    const int incoming = int(end - next_);
    const int max = log_.maxEntries();
    // The oldest rows go first, so that the list never holds more than the log would.
    const int drop = std::min<int>(int(rows_.size()), std::max(0, int(rows_.size()) + incoming - max));
    if (drop > 0) {
        beginRemoveRows({}, 0, drop - 1);
        rows_.erase(rows_.begin(), rows_.begin() + drop);
        endRemoveRows();
    }
    // Of a batch larger than the list holds, only its last part is kept.
    const quint64 from = end - quint64(std::min(incoming, max));
    const int first = int(rows_.size());
    beginInsertRows({}, first, first + int(end - from) - 1);
    for (quint64 n = from; n < end; ++n)
        rows_.push_back(log_.entry(n));
    endInsertRows();
    next_ = end;
    emit synced();
}

void CommLogModel::clear()
{
    beginResetModel();
    rows_.clear();
    log_.clear();
    next_ = log_.end();
    endResetModel();
    emit synced();
}
