#include "SerialTransport.h"

#include "ToolText.h"

#include <QFile>
#include <QRegularExpression>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <grp.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
constexpr int kFlushWaitMs = 1000;
}

SerialTransport::SerialTransport(QObject *parent) : Transport(parent)
{
    // Each read is its own chunk for the recogniser, as the line delivered it.
    connect(&port_, &QSerialPort::readyRead, this, [this] { deliver(port_.readAll()); });
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

QString SerialTransport::where() const
{
    const QString location = systemLocation(portName_);
    return location == portName_.trimmed() ? location : portName_.trimmed() + QStringLiteral(" (") + location + ')';
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
        error_ = openErrorText(location, port_.error(), port_.errorString());
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

QString SerialTransport::openErrorText(const QString &location, QSerialPort::SerialPortError error,
                                       const QString &portText)
{
#ifdef Q_OS_UNIX
    // The port layer reports a missing permission, a port another program holds exclusively and a
    // port locked by another program all as a permission error; only the first is about rights.
    if (error == QSerialPort::PermissionError) {
        const QByteArray path = QFile::encodeName(location);
        if (::access(path.constData(), R_OK | W_OK) != 0 && errno == EACCES) {
            QString group = QStringLiteral("dialout");
            struct stat st {};
            if (::stat(path.constData(), &st) == 0)
                if (const struct group *g = ::getgrgid(st.st_gid))
                    group = QString::fromLocal8Bit(g->gr_name);
            return ToolText::SerialPermissionDenied(location, group);
        }
        return ToolText::SerialPortInUse(location);
    }
#endif
    if (error == QSerialPort::DeviceNotFoundError)
        return ToolText::SerialPortMissing(location);
    return location + QStringLiteral(": ") + portText;
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
    discardDeliveries();
}

bool SerialTransport::lineHungUp() const
{
#ifdef Q_OS_UNIX
    pollfd p{int(port_.handle()), POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL));
#else
    return false;
#endif
}

void SerialTransport::onError(QSerialPort::SerialPortError error)
{
    // A port that disappears (a USB adapter pulled out) is closed and reported as closed. A line
    // whose other end hung up reports a read error on every turn of the event loop instead; it
    // is gone just the same.
    if (!port_.isOpen())
        return;
    if (error == QSerialPort::ResourceError || (error == QSerialPort::ReadError && lineHungUp())) {
        error_ = port_.errorString();
        // Bytes the port still holds are handed over before the loss is reported.
        deliver(port_.readAll());
        port_.close();
        deliverClosed();
    }
}
