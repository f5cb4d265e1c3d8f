// VantelRuntime: serves a simulated plant and the tags of Modbus TCP devices to
// the runtime toolkit over TCP.

#include "DemoPlant.h"
#include "GatewayServer.h"
#include "PasswordHasher.h"
#include "PlantLoader.h"
#include "RuntimeServer.h"
#include "SignalWatcher.h"
#include "Simulator.h"
#include "TagDatabase.h"
#include "TlsCredentials.h"
#include "UserDatabase.h"
#include "toolkit/protocol/Protocol.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>
#include <iostream>
#include <string>

namespace {

int Fail(const QString& message, int code = 1)
{
    std::fprintf(stderr, "VantelRuntime: %s\n", qPrintable(message));
    return code;
}

bool Seconds(const QCommandLineParser& p, const QString& name, int& ms)
{
    if (!p.isSet(name))
        return true;
    bool ok = false;
    const double s = p.value(name).toDouble(&ok);
    if (!ok || s < 0.05 || s > 86400)
        return false;
    ms = static_cast<int>(s * 1000);
    return true;
}

int HashPassword(const QCommandLineParser& p)
{
    bool ok = true;
    const int iterations =
        p.isSet("iterations") ? p.value("iterations").toInt(&ok) : PasswordHasher::kDefaultIterations;
    if (!ok || iterations < PasswordHasher::kMinIterations || iterations > PasswordHasher::kMaxIterations)
        return Fail(QStringLiteral("--iterations takes %1 to %2")
                        .arg(PasswordHasher::kMinIterations)
                        .arg(PasswordHasher::kMaxIterations),
                    2);
    std::string line;
    std::getline(std::cin, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    std::printf("%s\n", qPrintable(PasswordHasher::Hash(QString::fromStdString(line), iterations)));
    return 0;
}

// Announces the address, as tests and scripts wait for it, and runs until a signal.
int Serve(QCoreApplication& app, const QHostAddress& address, quint16 port)
{
    SignalWatcher watcher;
    QObject::connect(&watcher, &SignalWatcher::Stop, &app, &QCoreApplication::quit);
    std::printf("VantelRuntime listening on %s:%u\n", qPrintable(address.toString()), port);
    std::fflush(stdout);
    return app.exec();
}

int RunGateway(QCoreApplication& app, const SessionLimits& limits, const QHostAddress& address, quint16 port)
{
    GatewayServer gateway(limits);
    QString error;
    if (!gateway.Listen(address, port, error))
        return Fail(QStringLiteral("cannot listen on %1:%2: %3").arg(address.toString()).arg(port).arg(error));
    return Serve(app, gateway.Address(), gateway.Port());
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("VantelRuntime"));

    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral(
        "Serves a simulated plant and the tags of Modbus TCP devices to the runtime toolkit over TCP.\n"
        "Without --plant it serves the built-in demo plant; without --users no login is required.\n"
        "File formats: docs/demo-plant.md. Protocol: docs/protocol.md.\n"
        "When ready it prints one line, \"VantelRuntime listening on ADDR:PORT\".\n"
        "--hash-password reads a password from standard input and prints its hash for a users file.\n"
        "--gateway relays clients to the runtime each names (HTTP CONNECT host:port) instead of serving a plant.\n"
        "--tls-cert and --tls-key make it speak only TLS; the key file must be readable by its owner only."));
    p.addHelpOption();
    p.addOptions({
        {"bind", "Address to listen on (default 127.0.0.1).", "ADDR", "127.0.0.1"},
        {"port", "Port to listen on; 0 takes a free one (default 1234, with --gateway 1235).", "N", "1234"},
        {"plant", "Plant description file.", "FILE"},
        {"users", "Users and groups file; makes login required.", "FILE"},
        {"idle-timeout", "Drop a client that sends no request for this long (default 60).", "SECONDS"},
        {"io-timeout",
         "Drop a client that takes longer for its handshake, for one frame, or to read its replies "
         "(default 10).",
         "SECONDS"},
        {"hash-password", "Read a password from standard input, print its salted hash and exit."},
        {"iterations", "PBKDF2 iterations for --hash-password (default 100000).", "N"},
        {"gateway", "Run as a tunnelling gateway: relay each client to the runtime it names."},
        {"tls-cert", "PEM certificate (the chain may follow) for TLS; needs --tls-key.", "FILE"},
        {"tls-key", "PEM private key of the certificate, without a pass phrase.", "FILE"},
    });
    p.process(app);
    if (!p.positionalArguments().isEmpty())
        return Fail(QStringLiteral("unexpected argument '%1'; see --help").arg(p.positionalArguments().first()), 2);
    if (p.isSet("hash-password"))
        return HashPassword(p);

    SessionLimits limits;
    if (!Seconds(p, "idle-timeout", limits.idleMs) || !Seconds(p, "io-timeout", limits.ioMs))
        return Fail(QStringLiteral("time-outs take 0.05 to 86400 seconds"), 2);
    const bool gateway = p.isSet("gateway");
    if (gateway && (p.isSet("plant") || p.isSet("users")))
        return Fail(QStringLiteral("--gateway serves no plant: --plant and --users belong to a runtime"), 2);
    const bool tls = p.isSet("tls-cert") || p.isSet("tls-key");
    if (gateway && tls)
        return Fail(QStringLiteral("--gateway relays TLS unchanged: --tls-cert and --tls-key belong to a runtime"), 2);
    if (tls && !(p.isSet("tls-cert") && p.isSet("tls-key")))
        return Fail(QStringLiteral("--tls-cert and --tls-key go together"), 2);
    bool ok = true;
    const uint port =
        gateway && !p.isSet("port") ? static_cast<uint>(vtproto::kDefaultGatewayPort) : p.value("port").toUInt(&ok);
    if (!ok || port > 65535)
        return Fail(QStringLiteral("--port takes 0 to 65535"), 2);
    const QString bind = p.value("bind");
    const QHostAddress address(bind.compare("localhost", Qt::CaseInsensitive) == 0 ? QStringLiteral("127.0.0.1")
                                                                                   : bind);
    if (address.isNull())
        return Fail(QStringLiteral("'%1' is not an IP address").arg(bind), 2);

    if (gateway)
        return RunGateway(app, limits, address, static_cast<quint16>(port));

    TagDatabase tags;
    UserDatabase users;
    QString error;
    const bool plantOk = p.isSet("plant") ? PlantLoader::LoadFile(p.value("plant"), tags, error)
                                          : PlantLoader::LoadText(DemoPlant::Text(), tags, error);
    if (!plantOk || (p.isSet("users") && !users.LoadFile(p.value("users"), error)))
        return Fail(error);

    RuntimeServer server(tags, users, limits);
    TlsCredentials credentials;
    if (tls) {
        if (!credentials.Load(p.value("tls-cert"), p.value("tls-key"), error))
            return Fail(error);
        server.RequireTls(credentials);
    }
    if (!server.Listen(address, static_cast<quint16>(port), error))
        return Fail(QStringLiteral("cannot listen on %1:%2: %3").arg(bind).arg(port).arg(error));
    Simulator simulator(tags);
    simulator.Start();
    tags.StartDevices();
    return Serve(app, server.Address(), server.Port());
}
