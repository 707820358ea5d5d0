#include "SimSerialServer.h"

#include "SimSession.h"

#include <QSerialPort>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

SimSerialServer::SimSerialServer(SimulatedDevice &device, FaultInjector *faults, QObject *parent)
    : QObject(parent), device_(device)
{
    session_ = new SimSession(
        device_, [this](const QByteArray &bytes) { writeOut(bytes); }, faults, this);
    connect(session_, &SimSession::requestAnswered, this, &SimSerialServer::requestAnswered);
}

SimSerialServer::~SimSerialServer()
{
    close();
}

void SimSerialServer::setBaud(int baud)
{
    baud_ = baud;
    session_->setBaud(baud);
}

bool SimSerialServer::openPty()
{
    close();
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        close();
        return false;
    }
    const char *name = ::ptsname(master_);
    if (!name) {
        error_ = QString::fromLocal8Bit(std::strerror(errno));
        close();
        return false;
    }
    slavePath_ = QString::fromLocal8Bit(name);
    slaveHold_ = ::open(name, O_RDWR | O_NOCTTY);
    if (slaveHold_ >= 0) {
        termios t{};
        if (::tcgetattr(slaveHold_, &t) == 0) {
            ::cfmakeraw(&t);
            ::tcsetattr(slaveHold_, TCSANOW, &t);
        }
    }
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    readNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(readNotifier_, &QSocketNotifier::activated, this, &SimSerialServer::readPty);
    writeNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Write, this);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_, &QSocketNotifier::activated, this, &SimSerialServer::flushPty);
    return true;
}

bool SimSerialServer::openSerial(const QString &device)
{
    close();
    port_ = new QSerialPort(this);
    port_->setPortName(device);
    port_->setBaudRate(baud_ > 0 ? baud_ : 57600);
    port_->setDataBits(QSerialPort::Data8);
    port_->setParity(QSerialPort::NoParity);
    port_->setStopBits(QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    if (!port_->open(QIODevice::ReadWrite)) {
        error_ = device + QStringLiteral(": ") + port_->errorString();
        delete port_;
        port_ = nullptr;
        return false;
    }
    port_->setDataTerminalReady(false);
    port_->setRequestToSend(false);
    port_->clearError();
    slavePath_ = device;
    connect(port_, &QSerialPort::readyRead, this, [this] { session_->input(port_->readAll()); });
    return true;
}

void SimSerialServer::close()
{
    session_->reset();
    delete readNotifier_;
    readNotifier_ = nullptr;
    delete writeNotifier_;
    writeNotifier_ = nullptr;
    outPending_.clear();
    if (slaveHold_ >= 0)
        ::close(slaveHold_);
    slaveHold_ = -1;
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
    if (port_) {
        port_->close();
        delete port_;
        port_ = nullptr;
    }
}

void SimSerialServer::readPty()
{
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            session_->input(QByteArray(buf, n));
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EIO) {
            // No slave side open; with the slave held open this does not happen, but never spin on it.
            readNotifier_->setEnabled(false);
        }
        return;
    }
}

void SimSerialServer::writeOut(const QByteArray &bytes)
{
    if (port_) {
        port_->write(bytes);
        return;
    }
    if (master_ < 0)
        return;
    outPending_.append(bytes);
    flushPty();
}

void SimSerialServer::flushPty()
{
    while (!outPending_.isEmpty()) {
        const ssize_t n = ::write(master_, outPending_.constData(), size_t(outPending_.size()));
        if (n > 0) {
            outPending_.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        break; // full: wait until the line can take more
    }
    if (writeNotifier_)
        writeNotifier_->setEnabled(!outPending_.isEmpty());
}
