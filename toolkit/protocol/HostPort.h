#pragma once

#include <QString>

// A host and a port as an HTTP CONNECT names them: "host:port", with IPv6
// addresses in brackets ("[::1]:1234"). The toolkit reads its gateway setting
// this way too, where the port may be left out.
struct HostPort
{
    QString host;
    int port = 0;

    // Accepts "host", "host:port", "[v6]", "[v6]:port", also with a leading
    // "http://" and a trailing "/"; a missing port becomes defaultPort (0 = the
    // port is required). False for anything else, or a port outside 1..65535.
    static bool Parse(const QString& text, int defaultPort, HostPort& out);
    // The CONNECT authority.
    QString Authority() const;

    static constexpr int kMaxHostLength = 253;
};
