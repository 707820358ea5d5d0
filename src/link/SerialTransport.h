#pragma once
// Serial connection to the device: 57600 baud, 8N1, no flow control, DTR and RTS held off.

#include "Transport.h"

#include <QSerialPort>

class SerialTransport : public Transport {
    Q_OBJECT
public:
    static constexpr qint32 kBaudRate = 57600;

    explicit SerialTransport(QObject *parent = nullptr);
    ~SerialTransport() override;

    // "COM1".."COM4" name the first four serial ports of the machine (on Linux /dev/ttyS0..3);
    // any other text is a device path (or a name under /dev) used as it is.
    static QString systemLocation(const QString &portName);

    // The port opened next (the current one stays open until it is closed).
    void setPortName(const QString &name) { portName_ = name; }
    QString portName() const { return portName_; }
    // Opens the chosen port with the device's line settings; false with errorString().
    bool open();

    bool isOpen() const override;
    bool write(const QByteArray &bytes) override;
    QString errorString() const override;
    void close() override;
    bool recogniseEachByte() const override { return false; }
    // "COM1 (/dev/ttyS0)", or the device path alone when it was given as one.
    QString where() const override;

    QSerialPort &port() { return port_; }

private:
    // The message for a port that did not open: what to do about missing rights or a port in use.
    static QString openErrorText(const QString &location, QSerialPort::SerialPortError error, const QString &portText);
    // The other end of the line has hung up (the read notifications that follow report errors).
    bool lineHungUp() const;
    void onError(QSerialPort::SerialPortError error);

    QSerialPort port_;
    QString portName_ = QStringLiteral("COM1");
    QString error_;
};
