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

signals:
    void received(const QByteArray &bytes);
    // The other end went away (connection closed or port lost).
    void closed();
};
