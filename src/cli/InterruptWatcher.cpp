#include "InterruptWatcher.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
int pipeFds[2] = {-1, -1};
volatile std::sig_atomic_t pressedFlag = 0;

void onSigint(int)
{
    pressedFlag = 1;
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], &c, 1);
}
} // namespace

InterruptWatcher::InterruptWatcher(QObject *parent) : QObject(parent)
{
    if (::pipe(pipeFds) != 0)
        return;
    for (int fd : pipeFds)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char buf[16];
        while (::read(pipeFds[0], buf, sizeof buf) > 0) {
        }
        emit interrupted();
    });
    struct sigaction sa {};
    sa.sa_handler = onSigint;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = 0;
    ::sigaction(SIGINT, &sa, nullptr);
}

InterruptWatcher::~InterruptWatcher()
{
    std::signal(SIGINT, SIG_DFL);
}

bool InterruptWatcher::pressed()
{
    return pressedFlag != 0;
}
