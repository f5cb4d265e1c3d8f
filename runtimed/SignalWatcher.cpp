#include "SignalWatcher.h"

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

int SignalWatcher::s_fds[2] = {-1, -1};

SignalWatcher::SignalWatcher(QObject* parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, s_fds) != 0)
        return;
    m_notifier = std::make_unique<QSocketNotifier>(s_fds[1], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] {
        char byte;
        if (::read(s_fds[1], &byte, 1) > 0)
            emit Stop();
    });
    struct sigaction action = {};
    action.sa_handler = &SignalWatcher::Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

SignalWatcher::~SignalWatcher()
{
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    m_notifier.reset();
    for (int& fd : s_fds) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

void SignalWatcher::Handler(int)
{
    const char byte = 1;
    // Nothing but async-signal-safe calls here.
    [[maybe_unused]] const auto n = ::write(s_fds[0], &byte, 1);
}
