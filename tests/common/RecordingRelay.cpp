#include "RecordingRelay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <vector>

namespace {

sockaddr_in Loopback(quint16 port)
{
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

} // namespace

RecordingRelay::RecordingRelay(quint16 targetPort) : m_targetPort(targetPort)
{
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = Loopback(0);
    socklen_t length = sizeof a;
    if (m_listener < 0 || ::pipe(m_wake) != 0 || ::bind(m_listener, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
        ::listen(m_listener, 16) != 0 || ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&a), &length) != 0)
        return;
    m_port = ntohs(a.sin_port);
    m_thread = std::thread(&RecordingRelay::Run, this);
}

RecordingRelay::~RecordingRelay()
{
    if (m_thread.joinable()) {
        const char stop = 0;
        (void)::write(m_wake[1], &stop, 1);
        m_thread.join();
    }
    for (const int fd : {m_listener, m_wake[0], m_wake[1]})
        if (fd >= 0)
            ::close(fd);
}

QByteArray RecordingRelay::Capture() const
{
    const std::lock_guard lock(m_mutex);
    return m_capture;
}

void RecordingRelay::Run()
{
    std::vector<std::pair<int, int>> pairs; // each client with its connection to the target
    for (;;) {
        std::vector<pollfd> fds = {{m_wake[0], POLLIN, 0}, {m_listener, POLLIN, 0}};
        for (const auto& [a, b] : pairs) {
            fds.push_back({a, POLLIN, 0});
            fds.push_back({b, POLLIN, 0});
        }
        if (::poll(fds.data(), fds.size(), -1) < 0 || fds[0].revents)
            break;
        // Only the pairs that were polled; one accepted now waits for the next round.
        const std::size_t polled = pairs.size();
        if (fds[1].revents & POLLIN) {
            const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
            const int target = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            const sockaddr_in to = Loopback(m_targetPort);
            if (client >= 0 && target >= 0 &&
                ::connect(target, reinterpret_cast<const sockaddr*>(&to), sizeof to) == 0) {
                pairs.emplace_back(client, target);
            } else {
                ::close(client);
                ::close(target);
            }
        }
        std::vector<std::size_t> finished;
        for (std::size_t i = 0; i < polled; ++i) {
            const short in[2] = {fds[2 + 2 * i].revents, fds[3 + 2 * i].revents};
            const int ends[2] = {pairs[i].first, pairs[i].second};
            for (int side = 0; side < 2; ++side) {
                if (!in[side])
                    continue;
                char buffer[16384];
                const ssize_t n = ::read(ends[side], buffer, sizeof buffer);
                if (n <= 0 || ::send(ends[1 - side], buffer, static_cast<std::size_t>(n), MSG_NOSIGNAL) != n) {
                    finished.push_back(i);
                    break;
                }
                const std::lock_guard lock(m_mutex);
                m_capture.append(buffer, n);
            }
        }
        for (auto it = finished.rbegin(); it != finished.rend(); ++it) {
            ::close(pairs[*it].first);
            ::close(pairs[*it].second);
            pairs.erase(pairs.begin() + static_cast<std::ptrdiff_t>(*it));
        }
    }
    for (const auto& [a, b] : pairs) {
        ::close(a);
        ::close(b);
    }
}
