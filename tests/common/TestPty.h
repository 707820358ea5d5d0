#pragma once
// A pseudo-terminal pair made by a test: the tool opens the slave, the test plays the device on
// the master.

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

struct TestPty {
    TestPty()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0)
            slave = QString::fromLocal8Bit(::ptsname(master));
        ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    }
    ~TestPty() { closeMaster(); }
    // Reads what the tool wrote until `expect` bytes came or the time ran out.
    QByteArray read(int expect, int timeoutMs = 3000)
    {
        QByteArray out;
        QElapsedTimer t;
        t.start();
        while (out.size() < expect && t.elapsed() < timeoutMs) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 20) > 0 && (p.revents & POLLIN)) {
                char buf[512];
                const ssize_t n = ::read(master, buf, sizeof buf);
                if (n > 0)
                    out.append(buf, n);
            }
            QCoreApplication::processEvents();
        }
        return out;
    }
    void write(const QByteArray &b) { [[maybe_unused]] auto n = ::write(master, b.constData(), size_t(b.size())); }
    // The device end goes away.
    void closeMaster()
    {
        if (master >= 0)
            ::close(master);
        master = -1;
    }
    int master = -1;
    QString slave;
};
