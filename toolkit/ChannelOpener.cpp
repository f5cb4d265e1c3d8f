#include "ChannelOpener.h"

#include "HttpTunnel.h"
#include "toolkit/protocol/HostPort.h"
#include "toolkit/protocol/Protocol.h"

#include <vector>

namespace {

// The hosts to pass, in order; the runtime last.
bool Route(const ConnectionTarget& target, std::vector<HostPort>& hops, QString& error)
{
    if (target.UsesProxy()) {
        if (target.proxyPort < 1 || target.proxyPort > 65535) {
            error = QStringLiteral("the proxy port %1 is outside 1 to 65535").arg(target.proxyPort);
            return false;
        }
        hops.push_back({target.proxy, target.proxyPort});
    }
    if (target.UsesGateway()) {
        HostPort gateway;
        if (!HostPort::Parse(target.gateway, vtproto::kDefaultGatewayPort, gateway)) {
            error = QStringLiteral("'%1' is no gateway address").arg(target.gateway);
            return false;
        }
        hops.push_back(gateway);
    }
    hops.push_back({target.server.isEmpty() ? QStringLiteral("127.0.0.1") : target.server, target.port});
    return true;
}

} // namespace

std::unique_ptr<SocketChannel> ChannelOpener::Open(const ConnectionTarget& target, const Deadline& deadline,
                                                   Outcome& outcome)
{
    outcome = Outcome();
    std::vector<HostPort> hops;
    if (!Route(target, hops, outcome.error)) {
        outcome.failure = Failure::BadArgument;
        return nullptr;
    }
    auto channel = SocketChannel::Connect(hops.front().host, hops.front().port, deadline, outcome.error);
    // Past a proxy or a gateway the runtime itself cannot be told apart from the
    // route to it: any failure before its greeting is the route's.
    const Failure failed = hops.size() > 1 ? Failure::Route : Failure::Unreachable;
    for (std::size_t i = 1; channel && i < hops.size(); ++i) {
        if (!HttpTunnel::Open(*channel, hops[i], deadline, outcome.error))
            channel.reset();
    }
    if (!channel) {
        outcome.failure = failed;
        return nullptr;
    }
    // TLS runs end to end with the runtime: proxy and gateway see only its records.
    if (target.tls &&
        !channel->StartTls(target.caFile, hops.back().host, deadline, outcome.refusal, outcome.fingerprint)) {
        outcome.failure = Failure::Tls;
        return nullptr;
    }
    return channel;
}
