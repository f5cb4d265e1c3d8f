#include "ChannelOpener.h"

std::unique_ptr<SocketChannel> ChannelOpener::Open(const ConnectionTarget& target, const Deadline& deadline,
                                                   Failure& failure, QString& error)
{
    failure = Failure::None;
    if (target.UsesProxy() || target.UsesGateway()) {
        failure = Failure::RouteNotSupported;
        error = QStringLiteral("connections through a proxy or a gateway are not supported by this toolkit");
        return nullptr;
    }
    auto channel = SocketChannel::Connect(target.server, target.port, deadline, error);
    if (!channel)
        failure = Failure::Unreachable;
    return channel;
}
