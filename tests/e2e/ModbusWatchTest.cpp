// The main window watching a Modbus device (Debian's pymodbus server) through a
// real runtime: a device tag typed in, written, a coil toggled, and a change
// made on the device seen by the refresh tick.
#include "tests/e2e/GridActions.h"
#include "tests/runtimed/ModbusDeviceProcess.h"
#include "tests/security/MainWindowSession.h"

#include "res/Resource.h"
#include "watch/CGridQuillon.h"

#include <QDeadlineTimer>
#include <QThread>

namespace {

constexpr int Tag = CGridQuillon::ColTag;
constexpr int Value = CGridQuillon::ColValue;
constexpr int Quality = CGridQuillon::ColQuality;

class ModbusWatch : public MainWindowSession
{
protected:
    void SetUp() override
    {
        MainWindowSession::SetUp();
        ASSERT_TRUE(device.Start());
        ASSERT_TRUE(device.Set("hr", 7, {1234}));
        program.Write("plant.txt", QStringLiteral("device Plc modbus-tcp 127.0.0.1:%1 poll=0.2\n"
                                                  "Plc.Speed int rw 0 device=Plc table=holding address=7\n"
                                                  "Plc.Pump bool rw 0 device=Plc table=coil address=3\n")
                                       .arg(device.Port())
                                       .toUtf8());
        runtime.Kill();
        ASSERT_TRUE(runtime.Start({"--users", program.File("users.txt"), "--plant", program.File("plant.txt")}));
        app.m_nDsPort = runtime.Port();
    }

    // Refresh ticks until the row shows the value as GOOD; bounded.
    static bool TickUntil(Window& window, int row, const QString& value)
    {
        const QDeadlineTimer deadline(5000);
        for (;;) {
            window.OnTimer(1);
            CGridQuillon& grid = window.m_Grid;
            if (grid.GetItemText(row, Value) == value && grid.GetItemText(row, Quality) == "GOOD")
                return true;
            if (deadline.hasExpired())
                return false;
            QThread::msleep(20);
        }
    }

    ModbusDeviceProcess device;
};

} // namespace

TEST_F(ModbusWatch, TypingWritingAndTogglingDeviceTags)
{
    Run([&](Window& window) {
        CGridQuillon& grid = window.m_Grid;
        window.OnTimer(1);
        ASSERT_TRUE(window.m_bConnected);

        const int speed = grid.GetRowCount() - 1;
        TypeInto(grid, speed, Tag, QStringLiteral("Plc.Speed"));
        ASSERT_TRUE(TickUntil(window, speed, "1234"));

        TypeInto(grid, speed, Value, QStringLiteral("-42"));
        EXPECT_EQ(grid.GetItemText(speed, Value), "-42");
        EXPECT_EQ(device.Get("hr", 7, 1), QList<int>{65494});
        // More than an int16 holds: refused, and the cell shows the device's value again.
        TypeInto(grid, speed, Value, QStringLiteral("40000"));
        EXPECT_EQ(grid.GetItemText(speed, Value), "-42");
        EXPECT_EQ(device.Get("hr", 7, 1), QList<int>{65494});

        const int pump = grid.GetRowCount() - 1;
        TypeInto(grid, pump, Tag, QStringLiteral("Plc.Pump"));
        ASSERT_TRUE(TickUntil(window, pump, "0"));
        grid.SetSelectedRange(pump, Tag, pump, Tag);
        grid.SetFocusCell(pump, Tag);
        ASSERT_TRUE(ChooseFromContextMenu(grid, ID_TOGGLE));
        EXPECT_EQ(grid.GetItemText(pump, Value), "1");
        EXPECT_EQ(device.Get("co", 3, 1), QList<int>{1});
        ASSERT_TRUE(ChooseFromContextMenu(grid, ID_TOGGLE));
        EXPECT_EQ(grid.GetItemText(pump, Value), "0");
        EXPECT_EQ(device.Get("co", 3, 1), QList<int>{0});

        ASSERT_TRUE(device.Set("hr", 7, {99}));
        EXPECT_TRUE(TickUntil(window, speed, "99"));
        EXPECT_TRUE(window.m_bConnected);
    });
}
