// VantelRuntime in front of real Modbus TCP devices (Debian's pymodbus server):
// every table and format, writes, exception replies, a device that dies or
// never answers, all through the toolkit as the watch window uses it.
#include "ModbusDeviceProcess.h"
#include "RawClient.h"
#include "tests/common/TempDir.h"
#include "tests/toolkit/RuntimeProcess.h"
#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/protocol/RuntimeValue.h"
#include "toolkit/protocol/TagEntry.h"
#include "toolkit/protocol/WireReader.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QThread>
#include <gtest/gtest.h>

#include <functional>

using namespace tk;

namespace {

bool WaitFor(const std::function<bool()>& condition, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

std::uint16_t Quality(const QString& tag)
{
    std::uint16_t q = 0xFFFF;
    ReadTag(tag, &q);
    return q;
}

bool Good(const QString& tag)
{
    return Quality(tag) == 192;
}

// What Debian's mbpoll reads from a holding register pair as a 32-bit integer,
// low word first: a second opinion on what the device holds.
QString MbpollInt32(quint16 port, int address)
{
    QProcess mbpoll;
    mbpoll.start(QStringLiteral("mbpoll"), {"-m", "tcp", "-p", QString::number(port), "-a", "1", "-0", "-1", "-t",
                                            "4:int", "-r", QString::number(address), "127.0.0.1"});
    if (!mbpoll.waitForFinished(10000))
        return {};
    const auto match = QRegularExpression(QStringLiteral("\\[%1\\]:\\s+(-?\\d+)").arg(address))
                           .match(QString::fromUtf8(mbpoll.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1) : QString();
}

class ModbusDevices : public ::testing::Test
{
protected:
    void SetUp() override { ToolkitStartup(); }
    void TearDown() override { ToolkitShutdown(); }

    void StartRuntime(const QString& plant)
    {
        m_dir.Write("plant.txt", plant.toUtf8());
        ASSERT_TRUE(m_runtime.Start({"--plant", m_dir.File("plant.txt")}));
        ASSERT_EQ(Connect(m_runtime.Port(), m_handle), S_OK);
        ActivateConnection(m_handle);
    }

    static QString Device(const char* name, quint16 port, const char* options = "poll=0.2")
    {
        return QStringLiteral("device %1 modbus-tcp 127.0.0.1:%2 %3\n").arg(name).arg(port).arg(options);
    }

    TempDir m_dir;
    RuntimeProcess m_runtime;
    VtHandle m_handle = nullptr;
};

} // namespace

TEST_F(ModbusDevices, EveryTableFormatAndWordOrderReads)
{
    ModbusDeviceProcess plc;
    ASSERT_TRUE(plc.Start());
    ASSERT_TRUE(plc.Set("co", 0, {1}));
    ASSERT_TRUE(plc.Set("di", 1, {1}));
    ASSERT_TRUE(plc.Set("ir", 2, {65531}));         // int16 -5
    ASSERT_TRUE(plc.Set("hr", 10, {65534, 31072})); // int32 -100000, high word first
    ASSERT_TRUE(plc.Set("hr", 12, {24064, 45776})); // uint32 3000000000, low word first
    ASSERT_TRUE(plc.Set("hr", 14, {16320, 0}));     // float32 1.5
    ASSERT_TRUE(plc.Set("ir", 16, {0, 49168}));     // float32 -2.25, low word first
    ASSERT_TRUE(plc.Set("hr", 18, {60000}));        // uint16
    ASSERT_TRUE(plc.Set("ir", 20, {255}));          // 255 × 0.1 - 10
    ASSERT_TRUE(plc.Set("hr", 21, {53191, 65535})); // int32 -12345 × 0.01, low word first
    StartRuntime(Device("Plc", plc.Port()) +
                 "P.Coil bool ro 0 device=Plc table=coil address=0\n"
                 "P.Input bool ro 0 device=Plc table=discrete address=1\n"
                 "P.Short int ro 0 device=Plc table=input address=2\n"
                 "P.Long int ro 0 device=Plc table=holding address=10 format=int32\n"
                 "P.Unsigned int ro 0 device=Plc table=holding address=12 format=uint32 order=swapped\n"
                 "P.Float real ro 0 device=Plc table=holding address=14 format=float32 order=big\n"
                 "P.FloatSwapped real ro 0 device=Plc table=input address=16 format=float32 order=swapped\n"
                 "P.Word int ro 0 device=Plc table=holding address=18 format=uint16\n"
                 "P.Scaled real ro 0 device=Plc table=input address=20 scale=0.1 offset=-10\n"
                 "P.ScaledLong real ro 42 device=Plc table=holding address=21 format=int32 order=swapped scale=0.01\n"
                 "Sim.Level real ro 7\n");
    const std::pair<const char*, const char*> expected[] = {
        {"P.Coil", "1"},
        {"P.Input", "1"},
        {"P.Short", "-5"},
        {"P.Long", "-100000"},
        {"P.Unsigned", "3000000000"},
        {"P.Float", "1.5"},
        {"P.FloatSwapped", "-2.25"},
        {"P.Word", "60000"},
        {"P.Scaled", "15.5"},
        {"P.ScaledLong", "-123.45"},
    };
    ASSERT_TRUE(WaitFor([] { return Good("P.ScaledLong"); }, 5000));
    for (const auto& [tag, value] : expected) {
        std::uint16_t quality = 0;
        EXPECT_EQ(ReadTag(tag, &quality).toStdString(), value) << tag;
        EXPECT_EQ(quality, 192) << tag;
    }
    // Device and simulated tags in one expression.
    EXPECT_EQ(Evaluate("P.Long / 1000 + Sim.Level").toStdString(), "-93");

    // The tag browser's listing shows device tags like any other.
    RawClient browser(m_runtime.Port());
    browser.Send(Hello());
    ASSERT_EQ(browser.Reply(), 0);
    WireWriter page;
    page.U32(0);
    page.U32(100);
    browser.Send(Frame(vtproto::Request::Browse, page, 2));
    QByteArray body;
    ASSERT_EQ(browser.Reply(&body), 0);
    WireReader listing(body);
    EXPECT_EQ(listing.U32(), 11u);
    ASSERT_EQ(listing.U32(), 11u);
    TagEntry coil;
    TagEntry input;
    ASSERT_TRUE(TagEntry::Decode(listing, coil));
    ASSERT_TRUE(TagEntry::Decode(listing, input));
    EXPECT_EQ(coil.name.toStdString(), "P.Coil");
    EXPECT_EQ(input.type, RuntimeValue::Type::Bool);
    EXPECT_FALSE(input.writable);
    EXPECT_EQ(input.quality, 192);
}

TEST_F(ModbusDevices, WritesReachTheDeviceAndItsChangesComeBack)
{
    ModbusDeviceProcess plc;
    ASSERT_TRUE(plc.Start());
    StartRuntime(Device("Plc", plc.Port()) +
                 "P.Valve bool rw 0 device=Plc table=coil address=5\n"
                 "P.Word int rw 0 device=Plc table=holding address=30\n"
                 "P.Long int rw 0 device=Plc table=holding address=32 format=int32 order=swapped\n"
                 "P.Scaled real rw 0 device=Plc table=holding address=40 format=uint16 scale=0.5\n"
                 "P.Missing int rw 0 device=Plc table=holding address=150\n");
    ASSERT_TRUE(WaitFor([] { return Good("P.Word"); }, 5000));

    EXPECT_TRUE(WriteTag("P.Valve", "1"));
    EXPECT_EQ(plc.Get("co", 5, 1), QList<int>{1});
    EXPECT_EQ(ReadTag("P.Valve").toStdString(), "1");
    EXPECT_TRUE(WriteTag("P.Long", "-100000"));
    EXPECT_EQ(plc.Get("hr", 32, 2), (QList<int>{31072, 65534}));
    EXPECT_EQ(MbpollInt32(plc.Port(), 32).toStdString(), "-100000");
    // 12.3 / 0.5 is 24.6: the device gets 25, and the tag shows what it holds.
    EXPECT_TRUE(WriteTag("P.Scaled", "12.3"));
    EXPECT_EQ(plc.Get("hr", 40, 1), QList<int>{25});
    EXPECT_EQ(ReadTag("P.Scaled").toStdString(), "12.5");

    // Refused: a value the format cannot hold, and an exception reply.
    EXPECT_TRUE(WriteTag("P.Word", "-7"));
    EXPECT_FALSE(WriteTag("P.Word", "40000"));
    EXPECT_EQ(plc.Get("hr", 30, 1), QList<int>{65529});
    EXPECT_EQ(ReadTag("P.Word").toStdString(), "-7");
    EXPECT_FALSE(WriteTag("P.Missing", "1"));

    // A change made on the device shows within a poll period (0.2 s; the
    // bound leaves room for a loaded machine).
    ASSERT_TRUE(plc.Set("hr", 30, {77}));
    EXPECT_TRUE(WaitFor([] { return ReadTag("P.Word") == "77"; }, 1200));
    EXPECT_EQ(IsConnectionLost(m_handle), 0);
}

TEST_F(ModbusDevices, AnExceptionReplyMarksOnlyItsOwnTag)
{
    ModbusDeviceProcess plc;
    ASSERT_TRUE(plc.Start());
    ASSERT_TRUE(plc.Set("hr", 97, {0, 9, 5}));
    // 97 … 100 would be one request; address 100 is beyond the device's table.
    StartRuntime(Device("Plc", plc.Port()) + "P.Pair int ro 0 device=Plc table=holding address=97 format=int32\n"
                                             "P.Last int ro 0 device=Plc table=holding address=99\n"
                                             "P.Beyond int ro 3 device=Plc table=holding address=100\n"
                                             "P.Straddle int ro 0 device=Plc table=input address=99 format=int32\n");
    ASSERT_TRUE(WaitFor([] { return Quality("P.Beyond") != 128; }, 5000));
    EXPECT_EQ(Quality("P.Beyond"), 0x04) << "BAD, exception reply";
    EXPECT_EQ(ReadTag("P.Beyond").toStdString(), "3");
    EXPECT_EQ(Quality("P.Straddle"), 0x04);
    EXPECT_TRUE(Good("P.Pair"));
    EXPECT_EQ(ReadTag("P.Pair").toStdString(), "9");
    EXPECT_TRUE(Good("P.Last"));
    EXPECT_EQ(ReadTag("P.Last").toStdString(), "5");
}

TEST_F(ModbusDevices, AKilledDeviceGoesBadKeepingItsValueAndComesBack)
{
    ModbusDeviceProcess a;
    ModbusDeviceProcess b;
    ASSERT_TRUE(a.Start());
    ASSERT_TRUE(b.Start());
    ASSERT_TRUE(a.Set("hr", 0, {11}));
    ASSERT_TRUE(b.Set("hr", 0, {22}));
    StartRuntime(Device("A", a.Port()) + Device("B", b.Port()) +
                 "A.Value int ro 0 device=A table=holding address=0\n"
                 "B.Value int ro 0 device=B table=holding address=0\n");
    ASSERT_TRUE(WaitFor([] { return Good("A.Value") && Good("B.Value"); }, 5000));

    const quint16 port = a.Port();
    a.Kill();
    // Two poll periods (0.4 s), with room for a loaded machine.
    ASSERT_TRUE(WaitFor([] { return (Quality("A.Value") & 0xC0) == 0; }, 1500));
    EXPECT_EQ(ReadTag("A.Value").toStdString(), "11") << "the last value stays";
    const std::uint16_t bad = Quality("A.Value");
    EXPECT_TRUE(bad == 0x08 || bad == 0x18) << bad;
    EXPECT_TRUE(Good("B.Value"));
    EXPECT_EQ(ReadTag("B.Value").toStdString(), "22");

    ASSERT_TRUE(a.Start(port));
    ASSERT_TRUE(a.Set("hr", 0, {12}));
    // Reconnecting waits at most 5 s between attempts.
    EXPECT_TRUE(WaitFor([] { return Good("A.Value") && ReadTag("A.Value") == "12"; }, 8000));
    EXPECT_TRUE(Good("B.Value"));
}

TEST_F(ModbusDevices, ADeviceThatNeverAnswersDelaysNoOneElse)
{
    ModbusDeviceProcess live;
    ASSERT_TRUE(live.Start());
    ASSERT_TRUE(live.Set("hr", 0, {5}));
    // Accepts connections (the kernel does that) and never says a word.
    QTcpServer mute;
    ASSERT_TRUE(mute.listen(QHostAddress::LocalHost));
    StartRuntime(Device("Live", live.Port()) + Device("Mute", mute.serverPort(), "poll=0.2 timeout=10") +
                 Device("Brief", mute.serverPort(), "poll=0.2 timeout=0.2") +
                 "Live.Value int rw 0 device=Live table=holding address=0\n"
                 "Mute.Value int rw 4 device=Mute table=holding address=0\n"
                 "Brief.Value int ro 9 device=Brief table=holding address=0\n"
                 "Local.Value int rw 1\n");
    ASSERT_TRUE(WaitFor([] { return Good("Live.Value"); }, 5000));

    // One client writes to the mute device and waits for its answer...
    RawClient writer(m_runtime.Port());
    writer.Send(Hello());
    ASSERT_EQ(writer.Reply(), 0);
    WireWriter name;
    name.Str(QStringLiteral("Mute.Value"));
    writer.Send(Frame(vtproto::Request::Resolve, name, 2));
    QByteArray body;
    ASSERT_EQ(writer.Reply(&body), 0);
    WireWriter write;
    write.U32(WireReader(body).U32());
    RuntimeValue::FromInt(6).Encode(write);
    writer.Send(Frame(vtproto::Request::Write, write, 3));

    // ...while this one reads and writes as usual: each call would fail after
    // the toolkit's 3 s request time-out if the runtime were stuck on the 10 s
    // device time-out.
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(WriteTag("Local.Value", QString::number(i)));
        EXPECT_TRUE(WriteTag("Live.Value", QString::number(i)));
        EXPECT_EQ(ReadTag("Live.Value"), QString::number(i));
    }
    EXPECT_EQ(IsConnectionLost(m_handle), 0);
    EXPECT_EQ(Quality("Mute.Value"), 128) << "nothing read yet";
    EXPECT_EQ(ReadTag("Mute.Value").toStdString(), "4");

    // The write is refused once the runtime stops waiting for the device.
    EXPECT_EQ(writer.Reply(nullptr, 10000), static_cast<int>(vtproto::Status::DeviceError));
    // With a short time-out the silence shows as a communication failure.
    EXPECT_TRUE(WaitFor([] { return Quality("Brief.Value") == 0x18; }, 3000));
    EXPECT_EQ(ReadTag("Brief.Value").toStdString(), "9");
}
