#include "SerialTransport.h"

#include <QRegularExpression>

namespace {
constexpr int kFlushWaitMs = 1000;
}

SerialTransport::SerialTransport(QObject *parent) : Transport(parent)
{
    connect(&port_, &QSerialPort::readyRead, this, [this] {
        const QByteArray bytes = port_.readAll();
        if (!bytes.isEmpty())
            emit received(bytes);
    });
    connect(&port_, &QSerialPort::errorOccurred, this, &SerialTransport::onError);
}

SerialTransport::~SerialTransport()
{
    close();
}

QString SerialTransport::systemLocation(const QString &portName)
{
    const QString name = portName.trimmed();
#ifdef Q_OS_WIN
    return name;
#else
    static const QRegularExpression com(QStringLiteral("^COM([1-4])$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = com.match(name);
    if (m.hasMatch())
        return QStringLiteral("/dev/ttyS%1").arg(m.captured(1).toInt() - 1);
    if (name.startsWith(QLatin1Char('/')))
        return name;
    return QStringLiteral("/dev/") + name;
#endif
}

bool SerialTransport::open()
{
    close();
    error_.clear();
    const QString location = systemLocation(portName_);
    if (portName_.trimmed().isEmpty()) {
        error_ = QStringLiteral("Није изабран комуникациони порт.");
        return false;
    }
    port_.setPortName(location);
    port_.setBaudRate(kBaudRate);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!port_.open(QIODevice::ReadWrite)) {
        error_ = location + QStringLiteral(": ") + port_.errorString();
        port_.clearError();
        return false;
    }
    // Hold DTR and RTS off. A pseudo-terminal has no modem lines and refuses the request; the
    // port works without them, so that refusal does not make the open fail.
    port_.setDataTerminalReady(false);
    port_.setRequestToSend(false);
    port_.clearError();
    return true;
}

bool SerialTransport::isOpen() const
{
    return port_.isOpen();
}

bool SerialTransport::write(const QByteArray &bytes)
{
    if (!port_.isOpen()) {
        if (error_.isEmpty())
            error_ = QStringLiteral("Порт %1 није отворен.").arg(portName_);
        return false;
    }
    if (port_.write(bytes) != bytes.size()) {
        error_ = port_.errorString();
        return false;
    }
    // Hand the bytes to the system at once rather than at the next turn of the event loop.
    port_.flush();
    return true;
}

QString SerialTransport::errorString() const
{
    if (!error_.isEmpty())
        return error_;
    return port_.isOpen() ? QString() : QStringLiteral("Порт %1 није отворен.").arg(portName_);
}

void SerialTransport::close()
{
    if (!port_.isOpen())
        return;
    // Whatever is still queued (the leave-service-mode request at exit) goes out before the close.
    if (port_.bytesToWrite() > 0)
        port_.waitForBytesWritten(kFlushWaitMs);
    port_.close();
    error_.clear();
}

void SerialTransport::onError(QSerialPort::SerialPortError error)
{
    // A port that disappears (a USB adapter pulled out) is closed and reported as closed.
    if (error == QSerialPort::ResourceError && port_.isOpen()) {
        error_ = port_.errorString();
        port_.close();
        emit closed();
    }
}
