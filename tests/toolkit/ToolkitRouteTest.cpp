// Connections through a real HTTP proxy (tinyproxy), through VantelRuntime
// --gateway, and through both; and what the toolkit reports when the way fails.
#include "FreePort.h"
#include "RuntimeProcess.h"
#include "TinyProxy.h"
#include "ToolkitTestSupport.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QThread>
#include <gtest/gtest.h>

using namespace tk;

namespace {

class ToolkitRoute : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ToolkitStartup();
        ASSERT_TRUE(m_runtime.Start());
    }
    void TearDown() override { ToolkitShutdown(); }

    void StartProxy(const QList<quint16>& allowed)
    {
        if (!TinyProxy::Available())
            GTEST_SKIP() << "tinyproxy is not installed (scripts/install-deps.sh installs it)";
        ASSERT_TRUE(m_proxy.Start(allowed));
    }

    void StartGateway() { ASSERT_TRUE(m_gateway.Start({QStringLiteral("--gateway")})); }

    HRESULT ConnectVia(const QString& proxy, int proxyPort, const QString& gateway, int polling = 10)
    {
        return ConnectRuntime(u"127.0.0.1", m_runtime.Port(), U(proxy).c_str(), proxyPort, U(gateway).c_str(), polling,
                              &m_handle);
    }

    // Connected and working: the active connection evaluates a tag.
    void ExpectWorking()
    {
        ActivateConnection(m_handle);
        EXPECT_EQ(IsConnectionLost(m_handle), 0);
        EXPECT_EQ(Evaluate("Test.ReadOnly + 1"), "8");
    }

    QString GatewayAddress() const { return QStringLiteral("127.0.0.1:%1").arg(m_gateway.Port()); }

    RuntimeProcess m_runtime;
    RuntimeProcess m_gateway;
    TinyProxy m_proxy;
    VtHandle m_handle = nullptr;
};

} // namespace

TEST_F(ToolkitRoute, ThroughProxy)
{
    StartProxy({m_runtime.Port()});
    ASSERT_EQ(ConnectVia("127.0.0.1", m_proxy.Port(), ""), S_OK);
    ExpectWorking();
    EXPECT_EQ(IsLoginRequired(u"127.0.0.1", m_runtime.Port(), u"localhost", m_proxy.Port(), u"", 10, &m_handle), 0);
}

TEST_F(ToolkitRoute, ProxyThatRefusesOrIsDown)
{
    StartProxy({1}); // allows CONNECT to port 1 only: to the runtime it answers 403
    EXPECT_EQ(ConnectVia("127.0.0.1", m_proxy.Port(), ""), VT_E_ROUTE);
    EXPECT_EQ(m_handle, nullptr);
    EXPECT_EQ(ConnectVia("127.0.0.1", FreePort(), ""), VT_E_ROUTE);
    EXPECT_EQ(ConnectVia("127.0.0.1", 0, ""), VT_E_ARGUMENT);
    EXPECT_EQ(ConnectVia("127.0.0.1", 70000, ""), VT_E_ARGUMENT);
}

TEST_F(ToolkitRoute, ThroughGateway)
{
    StartGateway();
    ASSERT_EQ(ConnectVia("", 0, GatewayAddress()), S_OK);
    ExpectWorking();
    // Written as an address with a scheme, as settings files often hold it.
    VtHandle second = nullptr;
    EXPECT_EQ(ConnectRuntime(u"localhost", m_runtime.Port(), u"", 0,
                             U(QStringLiteral("http://localhost:%1/").arg(m_gateway.Port())).c_str(), 10, &second),
              S_OK);
}

TEST_F(ToolkitRoute, GatewayThatCannotReachTheRuntime)
{
    StartGateway();
    const quint16 port = m_runtime.Port();
    m_runtime.Kill();
    EXPECT_EQ(ConnectRuntime(u"127.0.0.1", port, u"", 0, U(GatewayAddress()).c_str(), 10, &m_handle), VT_E_ROUTE);
    EXPECT_EQ(ConnectVia("", 0, QStringLiteral("127.0.0.1:%1").arg(FreePort())), VT_E_ROUTE);
    EXPECT_EQ(ConnectVia("", 0, "127.0.0.1:notaport"), VT_E_ARGUMENT);
}

TEST_F(ToolkitRoute, GatewayAnswersMalformedHeadsWithBadRequest)
{
    StartGateway();
    for (const QByteArray& head :
         {QByteArray("GET / HTTP/1.1\r\n\r\n"), QByteArray("CONNECT nohost HTTP/1.1\r\n\r\n"), QByteArray(9000, 'x')}) {
        QTcpSocket s;
        s.connectToHost(QStringLiteral("127.0.0.1"), m_gateway.Port());
        ASSERT_TRUE(s.waitForConnected(3000));
        s.write(head);
        QByteArray answer;
        while (s.waitForReadyRead(3000))
            answer += s.readAll();
        EXPECT_TRUE(answer.startsWith("HTTP/1.1 400")) << answer.left(40).constData();
    }
    // And keeps relaying for others.
    ASSERT_EQ(ConnectVia("", 0, GatewayAddress()), S_OK);
    ExpectWorking();
}

TEST_F(ToolkitRoute, ThroughProxyAndGateway)
{
    StartGateway();
    StartProxy({m_gateway.Port()});
    ASSERT_EQ(ConnectVia("127.0.0.1", m_proxy.Port(), GatewayAddress()), S_OK);
    ExpectWorking();
}

TEST_F(ToolkitRoute, KilledGatewayIsNoticedWithinThePollingInterval)
{
    StartGateway();
    StartProxy({m_gateway.Port()});
    constexpr int kPollingSeconds = 2;
    VtHandle direct = nullptr;
    ASSERT_EQ(ConnectVia("", 0, GatewayAddress(), kPollingSeconds), S_OK);
    direct = m_handle;
    ASSERT_EQ(ConnectVia("127.0.0.1", m_proxy.Port(), GatewayAddress(), kPollingSeconds), S_OK);
    VtHandle proxied = m_handle;
    m_gateway.Kill();
    QElapsedTimer clock;
    clock.start();
    while ((!IsConnectionLost(direct) || !IsConnectionLost(proxied)) && clock.elapsed() < kPollingSeconds * 1000)
        QThread::msleep(10);
    EXPECT_NE(IsConnectionLost(direct), 0);
    EXPECT_NE(IsConnectionLost(proxied), 0);
}
