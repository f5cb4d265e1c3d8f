// The main window on a real runtime that demands a login, directly or through
// a real HTTP proxy, while the server or the proxy fails: killed, stopped for
// longer than a request may take, restarted on its port, stalling or dropping
// the tunnel. The window must never wait longer than one request time-out,
// must say in its title that it is disconnected, must refuse edits meanwhile,
// must reconnect by the ten-second rule, and must keep every row as it was.
#include "tests/e2e/GridActions.h"
#include "tests/security/MainWindowSession.h"
#include "tests/toolkit/TinyProxy.h"

#include "cells/CGridCellCheck.h"
#include "res/Resource.h"
#include "toolkit/VtConnection.h"
#include "watch/CGridQuillon.h"

#include <QElapsedTimer>

#include <functional>

namespace {

constexpr int Tag = CGridQuillon::ColTag;
constexpr int Value = CGridQuillon::ColValue;
constexpr int Quality = CGridQuillon::ColQuality;

// Time the window may spend in one tick beyond the toolkit's request time-out:
// the rest of the tick's own work, in a debug build with sanitizers.
constexpr qint64 kTickSlackMs = 1500;

const QByteArray kList = "Plant.Tank1.Level|1\r\n"
                         "Plant.Tank1.Setpoint|1\r\n"
                         "Plant.Pump1.Running|0\r\n"
                         "Plant.Tank1.Setpoint * 2|1\r\n"
                         "Plant.Tank1.Inlet.Valve|1\r\n";
constexpr int kSetpointRow = 2;
constexpr int kValveRow = 5;

// Every cell a user could lose: text of the three text columns and the box.
std::vector<std::string> Snapshot(CGridQuillon& grid)
{
    std::vector<std::string> cells;
    for (int row = 1; row < grid.GetRowCount(); ++row) {
        const auto* check = dynamic_cast<const CGridCellCheck*>(grid.GetCell(row, CGridQuillon::ColContinuous));
        for (const QString& text :
             {grid.GetItemText(row, Tag), grid.GetItemText(row, Value), grid.GetItemText(row, Quality)})
            cells.push_back(text.toStdString());
        cells.push_back(check && check->GetCheck() ? "checked" : "unchecked");
    }
    return cells;
}

enum class Failure { ServerKilled, ServerStopped, ServerRestarted, ProxyStalls, ProxyDrops };

struct Fault
{
    const char* name;
    Failure failure;
    bool throughProxy;
    // Still there when the window next tries to connect.
    bool lasts;
    // The server still holds what was written before the fault.
    bool serverKeepsState;
};

class ConnectionFault : public MainWindowSession, public ::testing::WithParamInterface<Fault>
{
protected:
    void SetUp() override
    {
        MainWindowSession::SetUp();
        m_previousClock = SetTickSource([this] { return now; });
        data.Write("DBRemoteQuillon.dat", kList);
        if (GetParam().throughProxy) {
            ASSERT_TRUE(proxy.Start({runtime.Port()}));
            app.m_strProxyIp = QStringLiteral("127.0.0.1");
            app.m_nProxyPort = proxy.Port();
        }
    }

    void TearDown() override
    {
        runtime.Resume();
        SetTickSource(m_previousClock);
        MainWindowSession::TearDown();
    }

    void Break()
    {
        switch (GetParam().failure) {
        case Failure::ServerKilled: runtime.Kill(); break;
        case Failure::ServerStopped: runtime.Suspend(); break;
        case Failure::ServerRestarted:
            runtime.Kill();
            Restart();
            break;
        case Failure::ProxyStalls: proxy.Suspend(); break;
        case Failure::ProxyDrops: proxy.Kill(); break;
        }
    }

    void Mend()
    {
        switch (GetParam().failure) {
        case Failure::ServerKilled: Restart(); break;
        case Failure::ServerStopped: runtime.Resume(); break;
        case Failure::ServerRestarted: break;
        case Failure::ProxyStalls: proxy.Resume(); break;
        case Failure::ProxyDrops: ASSERT_TRUE(proxy.Start({runtime.Port()}, proxy.Port())); break;
        }
    }

    void Restart()
    {
        const quint16 port = runtime.Port();
        ASSERT_TRUE(runtime.Start({"--users", program.File("users.txt")}, port));
    }

    // One tick, which may wait for the network but never beyond one request.
    void TimedTick(Window& window)
    {
        QElapsedTimer clock;
        clock.start();
        window.OnTimer(1);
        EXPECT_LE(clock.elapsed(), VtConnection::kRequestTimeoutMs + kTickSlackMs) << "the window was blocked";
    }

    void ActAsTheFaultStrikes(const std::function<void(CGridQuillon&)>& act)
    {
        Run([&](Window& window) {
            CGridQuillon& grid = window.m_Grid;
            window.OnTimer(1);
            const QString title = window.windowTitle();
            const std::vector<std::string> before = Snapshot(grid);

            Break();
            QElapsedTimer clock;
            clock.start();
            act(grid);
            EXPECT_LE(clock.elapsed(), VtConnection::kRequestTimeoutMs + kTickSlackMs) << "the window was blocked";
            EXPECT_EQ(window.windowTitle(), title + " - Disconnected");
            EXPECT_EQ(Snapshot(grid), before) << "what was not written or read is not shown";
            TimedTick(window);
            EXPECT_EQ(Snapshot(grid), before);
        });
        EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    }

    TinyProxy proxy;
    std::uint64_t now = 1000000;

private:
    TickSource m_previousClock;
};

TEST_P(ConnectionFault, TheWindowWaitsAtMostOneTimeOutRefusesEditsAndReconnectsWithEveryRowIntact)
{
    Run([&](Window& window) {
        CGridQuillon& grid = window.m_Grid;
        window.OnTimer(1);
        ASSERT_TRUE(window.m_bConnected);
        const QString title = window.windowTitle();
        TypeInto(grid, kSetpointRow, Value, QStringLiteral("61"));
        window.OnTimer(1);
        ASSERT_EQ(grid.GetItemText(kSetpointRow, Value), "61") << "written while connected";
        ASSERT_EQ(grid.GetItemText(4, Value), "122");
        const std::vector<std::string> before = Snapshot(grid);

        Break();
        TimedTick(window);
        EXPECT_FALSE(window.m_bConnected);
        EXPECT_EQ(window.windowTitle(), title + " - Disconnected");
        EXPECT_EQ(Snapshot(grid), before) << "the last values stay, nothing moves";

        // Edits are refused and their text is not kept.
        TypeInto(grid, kSetpointRow, Value, QStringLiteral("99"));
        TypeInto(grid, grid.GetRowCount() - 1, Tag, QStringLiteral("Plant.Tank2.Product"));
        EXPECT_EQ(Snapshot(grid), before);

        // An attempt while the fault lasts fails within one time-out and starts
        // the ten seconds again.
        if (GetParam().lasts) {
            now += 10001;
            TimedTick(window);
            EXPECT_FALSE(window.m_bConnected);
            EXPECT_EQ(window.windowTitle().count("Disconnected"), 1);
        }

        Mend();
        now += 10000;
        TimedTick(window);
        EXPECT_FALSE(window.m_bConnected) << "not more than 10000 ms since the last attempt";
        now += 1;
        TimedTick(window);
        ASSERT_TRUE(window.m_bConnected);
        EXPECT_EQ(window.windowTitle(), title);

        window.OnTimer(1);
        const std::vector<std::string> after = Snapshot(grid);
        ASSERT_EQ(after.size(), before.size());
        for (std::size_t i = 0; i < after.size(); i += 4) {
            EXPECT_EQ(after[i], before[i]) << "tag of row " << i / 4 + 1;
            EXPECT_EQ(after[i + 3], before[i + 3]) << "box of row " << i / 4 + 1;
        }
        EXPECT_EQ(grid.GetItemText(kSetpointRow, Quality).toStdString(), before[(kSetpointRow - 1) * 4 + 2]);
        if (GetParam().serverKeepsState) {
            EXPECT_EQ(grid.GetItemText(kSetpointRow, Value), "61") << "the refused 99 never reached the server";
        }
    });
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
    EXPECT_EQ(data.Read("DBRemoteQuillon.dat"), kList) << "the list is saved as it was loaded";
}

// The fault strikes before any tick has noticed it, and the user types a value
// to write, types a new row to read, or toggles a row.
TEST_P(ConnectionFault, AValueTypedAsTheFaultStrikesWaitsAtMostOneTimeOutAndIsRefused)
{
    ActAsTheFaultStrikes([](CGridQuillon& grid) { TypeInto(grid, kSetpointRow, Value, QStringLiteral("99")); });
}

TEST_P(ConnectionFault, ARowTypedAsTheFaultStrikesWaitsAtMostOneTimeOutAndIsRefused)
{
    ActAsTheFaultStrikes(
        [](CGridQuillon& grid) { TypeInto(grid, grid.GetRowCount() - 1, Tag, QStringLiteral("Plant.Tank2.Level")); });
}

TEST_P(ConnectionFault, AToggleAsTheFaultStrikesWaitsAtMostOneTimeOutAndChangesNothing)
{
    ActAsTheFaultStrikes([](CGridQuillon& grid) {
        grid.SetSelectedRange(kValveRow, Tag, kValveRow, Tag);
        grid.SetFocusCell(kValveRow, Tag);
        EXPECT_TRUE(ChooseFromContextMenu(grid, ID_TOGGLE));
    });
}

INSTANTIATE_TEST_SUITE_P(Faults, ConnectionFault,
                         ::testing::Values(Fault{"server_killed", Failure::ServerKilled, false, true, false},
                                           Fault{"server_stopped", Failure::ServerStopped, false, true, true},
                                           Fault{"server_restarted_on_its_port", Failure::ServerRestarted, false, false,
                                                 false},
                                           Fault{"proxy_stalls", Failure::ProxyStalls, true, true, true},
                                           Fault{"proxy_drops", Failure::ProxyDrops, true, true, true}),
                         [](const ::testing::TestParamInfo<Fault>& info) { return std::string(info.param.name); });

} // namespace
