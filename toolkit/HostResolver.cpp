#include "HostResolver.h"

#include <condition_variable>
#include <cstring>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <thread>

namespace {

struct Lookup
{
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    int status = EAI_FAIL;
    sockaddr_storage address = {};
    socklen_t length = 0;
};

void Run(const std::shared_ptr<Lookup>& lookup, const std::string& host, const std::string& service)
{
    addrinfo hints = {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    const int status = ::getaddrinfo(host.c_str(), service.c_str(), &hints, &list);
    std::lock_guard lock(lookup->mutex);
    lookup->status = status;
    if (status == 0 && list && list->ai_addrlen <= sizeof lookup->address) {
        std::memcpy(&lookup->address, list->ai_addr, list->ai_addrlen);
        lookup->length = list->ai_addrlen;
    } else if (status == 0) {
        lookup->status = EAI_FAIL;
    }
    if (list)
        ::freeaddrinfo(list);
    lookup->finished = true;
    lookup->done.notify_all();
}

} // namespace

bool HostResolver::Resolve(const QString& host, int port, const Deadline& deadline, sockaddr_storage& address,
                           socklen_t& length, QString& error)
{
    // The usual names of this machine need no resolver.
    const bool local = host.isEmpty() || host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0;
    const std::string name = local ? std::string("127.0.0.1") : host.toStdString();
    auto lookup = std::make_shared<Lookup>();
    try {
        std::thread(Run, lookup, name, std::to_string(port)).detach();
    } catch (const std::system_error&) {
        error = QStringLiteral("cannot start the name lookup");
        return false;
    }
    std::unique_lock lock(lookup->mutex);
    if (!lookup->done.wait_for(lock, std::chrono::milliseconds(deadline.RemainingMs()),
                               [&] { return lookup->finished; })) {
        error = QStringLiteral("the name lookup of '%1' timed out").arg(host);
        return false;
    }
    if (lookup->status != 0) {
        error = QStringLiteral("'%1' is not a known host: %2")
                    .arg(host, QString::fromLocal8Bit(::gai_strerror(lookup->status)));
        return false;
    }
    address = lookup->address;
    length = lookup->length;
    return true;
}
