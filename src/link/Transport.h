#pragma once
// The byte pipe to the device: a serial port, a TCP connection, or a test stand-in.

#include <QByteArray>
#include <QObject>
#include <QString>

class Transport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~Transport() override = default;

    virtual bool isOpen() const = 0;
    // Writes all bytes at once; false (with errorString()) when the pipe is not usable.
    virtual bool write(const QByteArray &bytes) = 0;
    virtual QString errorString() const = 0;
    virtual void close() = 0;
    // TCP hands every byte to the recogniser on its own; serial hands over whole chunks.
    virtual bool recogniseEachByte() const = 0;
    // Where the pipe goes, for messages: the port, or the address and port (empty when unknown).
    virtual QString where() const { return {}; }

signals:
    void received(const QByteArray &bytes);
    // The other end went away (connection closed or port lost); never emitted for close().
    void closed();

protected:
    // Hands bytes read from the pipe to the link from the event loop rather than from inside the
    // pipe's own read notification: Qt does not notify again while that notification is still
    // being handled, so a reply handler that opens a modal dialog there would leave later bytes
    // unread. Every call is one delivery; deliveries and `closed` keep the order they were made in.
    void deliver(const QByteArray &bytes);
    // Reports `closed` behind every delivery made before it.
    void deliverClosed();
    // Drops deliveries not yet made (the pipe was closed here, or opened anew).
    void discardDeliveries() { ++generation_; }

private:
    quint64 generation_ = 0;
};
