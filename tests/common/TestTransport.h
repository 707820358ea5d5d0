#pragma once
// A transport for tests: records what the link writes and lets a test play the device.

#include "Transport.h"

#include <QList>

class TestTransport : public Transport {
    Q_OBJECT
public:
    explicit TestTransport(bool eachByte = true, QObject *parent = nullptr) : Transport(parent), eachByte_(eachByte) {}

    bool isOpen() const override { return open_; }
    bool write(const QByteArray &bytes) override
    {
        if (!open_)
            return false;
        writes.append(bytes);
        return true;
    }
    QString errorString() const override { return open_ ? QString() : QStringLiteral("Порт није отворен"); }
    void close() override
    {
        open_ = false;
        ++closeCount;
    }
    bool recogniseEachByte() const override { return eachByte_; }

    // Plays bytes from the device side.
    void inject(const QByteArray &bytes) { emit received(bytes); }
    // The device end goes away.
    void drop()
    {
        open_ = false;
        emit closed();
    }
    void setOpen(bool open) { open_ = open; }
    QByteArray lastWrite() const { return writes.isEmpty() ? QByteArray() : writes.last(); }

    QList<QByteArray> writes;
    int closeCount = 0;

private:
    bool eachByte_;
    bool open_ = true;
};
