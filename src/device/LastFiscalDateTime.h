#pragma once
// The last fiscal date-time the tool knows, kept by the main window: the bound for a new clock setting.

#include <QDateTime>
#include <QObject>

class LastFiscalDateTime : public QObject {
    Q_OBJECT
public:
    // The one instance held by `window` (created on first use as its child).
    static LastFiscalDateTime &of(QObject *window);

    // Wall-clock values; an invalid value is the zero date-time, earlier than anything.
    QDateTime value() const { return value_; }
    void set(const QDate &date, const QTime &time);
    // A clock setting is allowed only when it is later than the bound (equal is not later).
    bool allows(const QDate &date, const QTime &time) const;

    // Date and time as one wall-clock value (no time zone, whole seconds).
    static QDateTime wallClock(const QDate &date, const QTime &time);

private:
    explicit LastFiscalDateTime(QObject *parent) : QObject(parent) {}
    QDateTime value_;
};
