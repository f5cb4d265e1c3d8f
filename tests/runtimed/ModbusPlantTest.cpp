// Modbus device tags without a device: plant lines, the grouping of points
// into read requests, and the conversion between registers and values.
#include "runtimed/PlantLoader.h"
#include "runtimed/TagDatabase.h"
#include "runtimed/devices/ModbusReadPlan.h"
#include "runtimed/devices/ModbusTcpDevice.h"

#include <gtest/gtest.h>

namespace {

const char* const kDevice = "device Plc modbus-tcp 127.0.0.1:1502\n";

ModbusRead::Member Member(int id, ModbusPoint::Table table, int address,
                          ModbusPoint::Format format = ModbusPoint::Format::Int16)
{
    ModbusPoint p;
    p.table = table;
    p.address = address;
    p.format = format;
    return {id, RuntimeValue::Type::Int, p};
}

} // namespace

TEST(ModbusPlant, DeviceLinesAndBindingsLoad)
{
    TagDatabase tags;
    QString error;
    ASSERT_TRUE(PlantLoader::LoadText(
        "DEVICE Plc modbus-tcp plc.local:1502 unit=7 poll=0.25 timeout=0.3\n"
        "device Meter MODBUS-TCP [::1]:502\n"
        "Plc.Run bool rw 0 device=plc table=coil address=0\n"
        "Plc.Flow real ro 1.5 device=Plc table=input address=65534 format=float32 order=swapped scale=0.5 offset=-2\n"
        "Meter.Count int ro 0 device=Meter table=holding address=3 format=uint32\n"
        "Sim.Level real ro 0 sim=sine\n",
        tags, error))
        << error.toStdString();
    ASSERT_EQ(tags.DeviceCount(), 2);
    const auto& plc = static_cast<const ModbusTcpDevice*>(tags.DeviceOf(0))->Settings();
    EXPECT_EQ(plc.host.toStdString(), "plc.local");
    EXPECT_EQ(plc.port, 1502);
    EXPECT_EQ(plc.unit, 7);
    EXPECT_DOUBLE_EQ(plc.pollSeconds, 0.25);
    EXPECT_DOUBLE_EQ(plc.timeoutSeconds, 0.3);
    const auto& meter = static_cast<const ModbusTcpDevice*>(tags.DeviceOf(2))->Settings();
    EXPECT_EQ(meter.host.toStdString(), "::1");
    EXPECT_EQ(meter.unit, 1);
    EXPECT_DOUBLE_EQ(meter.pollSeconds, 0.5);
    EXPECT_DOUBLE_EQ(meter.timeoutSeconds, 1.0);

    const Tag& flow = *tags.Get(1);
    EXPECT_EQ(flow.point.table, ModbusPoint::Table::Input);
    EXPECT_EQ(flow.point.address, 65534);
    EXPECT_TRUE(flow.point.swapped);
    EXPECT_EQ(flow.quality, 128) << "NA until the first read";
    EXPECT_DOUBLE_EQ(flow.value.AsReal(), 1.5);
    EXPECT_EQ(tags.DeviceOf(3), nullptr);
    EXPECT_EQ(tags.Get(3)->quality, 192);
}

TEST(ModbusPlant, ErrorsNameTheLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {"device Plc modbus-rtu /dev/ttyS0\n", "line 1: unknown device protocol 'modbus-rtu'"},
        {"device Plc modbus-tcp host\n", "line 1: expected host:port with a port from 1 to 65535, got 'host'"},
        {"device Plc modbus-tcp host:70000\n",
         "line 1: expected host:port with a port from 1 to 65535, got 'host:70000'"},
        {"device 1Plc modbus-tcp h:1\n", "line 1: '1Plc' is not a valid device name"},
        {"device Plc modbus-tcp h:1\ndevice PLC modbus-tcp h:2\n", "line 2: device 'PLC' is declared twice"},
        {"device Plc modbus-tcp h:1 unit=256\n", "line 1: unit must be an integer from 0 to 255"},
        {"device Plc modbus-tcp h:1 poll=0\n", "line 1: poll takes 0.1 to 3600 seconds"},
        {"device Plc modbus-tcp h:1 timeout=x\n", "line 1: timeout takes 0.05 to 10 seconds"},
        {"device Plc modbus-tcp h:1 baud=9600\n", "line 1: unknown option 'baud'"},
        {"device Plc modbus-tcp\n", "line 1: expected: device name modbus-tcp host:port [options]"},
        {"A int ro 0 device=Nope table=holding address=1\n", "line 1: unknown device 'Nope'"},
        {"%1A int ro 0 device=Plc table=register address=1\n", "line 2: unknown table 'register'"},
        {"%1A int ro 0 device=Plc table=holding address=65536\n", "line 2: address must be an integer from 0 to 65535"},
        {"%1A int ro 0 device=Plc table=holding address=-1\n", "line 2: address must be an integer from 0 to 65535"},
        {"%1A int ro 0 device=Plc table=holding address=65535 format=uint32\n",
         "line 2: the registers of address 65535 run past 65535"},
        {"%1A int ro 0 device=Plc table=holding\n", "line 2: a device tag needs table= and address="},
        {"%1A int ro 0 table=holding address=1\n", "line 2: 'table' needs device="},
        {"%1A string ro x device=Plc table=holding address=1\n", "line 2: register tags are int or real"},
        {"%1A int ro 0 device=Plc table=coil address=1\n", "line 2: coil and discrete tags are bool"},
        {"%1A bool rw 0 device=Plc table=discrete address=1\n", "line 2: discrete and input tags are read-only"},
        {"%1A int rw 0 device=Plc table=input address=1\n", "line 2: discrete and input tags are read-only"},
        {"%1A bool ro 0 device=Plc table=coil address=1 format=int32\n",
         "line 2: format, order, scale and offset are for register tags"},
        {"%1A int ro 0 device=Plc table=holding address=1 scale=2\n",
         "line 2: scale, offset and float32 need a real tag"},
        {"%1A int ro 0 device=Plc table=holding address=1 format=float32\n",
         "line 2: scale, offset and float32 need a real tag"},
        {"%1A real ro 0 device=Plc table=holding address=1 scale=0\n", "line 2: scale must not be 0"},
        {"%1A real ro 0 device=Plc table=holding address=1 format=int64\n", "line 2: unknown format 'int64'"},
        {"%1A real ro 0 device=Plc table=holding address=1 order=little\n", "line 2: order must be big or swapped"},
        {"%1A real ro 0 device=Plc table=holding address=1 sim=ramp\n", "line 2: a device tag cannot be simulated"},
        {"%1A real ro 0 device=Plc table=holding address=1 quality=192\n",
         "line 2: a device tag's quality comes from the device"},
    };
    for (const auto& [text, message] : cases) {
        TagDatabase tags;
        QString error;
        QString plant = QString::fromLatin1(text);
        plant.replace(QLatin1String("%1"), QLatin1String(kDevice));
        EXPECT_FALSE(PlantLoader::LoadText(plant, tags, error)) << text;
        EXPECT_EQ(error.toStdString(), message) << text;
    }
}

TEST(ModbusPlant, AdjacentPointsShareRequestsWithinTheProtocolLimits)
{
    using T = ModbusPoint::Table;
    std::vector<ModbusRead::Member> members;
    // 130 holding registers in a row, given out of order: 125 and then 5.
    for (int a = 129; a >= 0; --a)
        members.push_back(Member(a, T::Holding, a));
    // A 32-bit point overlapping its neighbour joins it; a gap starts anew.
    members.push_back(Member(200, T::Input, 10, ModbusPoint::Format::Int32));
    members.push_back(Member(201, T::Input, 11));
    members.push_back(Member(202, T::Input, 13));
    // 2001 coils: 2000 and 1; discrete inputs at the same addresses stay apart.
    for (int a = 0; a <= 2000; ++a)
        members.push_back({1000 + a, RuntimeValue::Type::Bool, Member(0, T::Coil, a).point});
    members.push_back({5000, RuntimeValue::Type::Bool, Member(0, T::Discrete, 0).point});

    const std::vector<ModbusRead> reads = ModbusRead::Plan(members);
    std::vector<std::tuple<T, int, int, std::size_t>> got;
    for (const ModbusRead& r : reads)
        got.emplace_back(r.table, r.first, r.count, r.members.size());
    const std::vector<std::tuple<T, int, int, std::size_t>> expected = {
        {T::Coil, 0, 2000, 2000}, {T::Coil, 2000, 1, 1},     {T::Discrete, 0, 1, 1},  {T::Input, 10, 2, 2},
        {T::Input, 13, 1, 1},     {T::Holding, 0, 125, 125}, {T::Holding, 125, 5, 5},
    };
    EXPECT_EQ(got, expected);
}

TEST(ModbusPlant, RegistersConvertBothWaysAndWritesThatDoNotFitAreRefused)
{
    ModbusPoint p;
    std::uint16_t w[2];
    p.format = ModbusPoint::Format::Int16;
    ASSERT_TRUE(p.Encode(RuntimeValue::FromInt(-2), w));
    EXPECT_EQ(w[0], 0xFFFE);
    EXPECT_EQ(p.Decode(w, RuntimeValue::Type::Int).AsInt(), -2);
    EXPECT_FALSE(p.Encode(RuntimeValue::FromInt(32768), w));
    p.format = ModbusPoint::Format::UInt16;
    EXPECT_FALSE(p.Encode(RuntimeValue::FromInt(-1), w));
    ASSERT_TRUE(p.Encode(RuntimeValue::FromInt(65535), w));
    EXPECT_EQ(p.Decode(w, RuntimeValue::Type::Int).AsInt(), 65535);

    p.format = ModbusPoint::Format::Int32;
    ASSERT_TRUE(p.Encode(RuntimeValue::FromInt(-100000), w));
    EXPECT_EQ(w[0], 0xFFFE); // high word first
    EXPECT_EQ(w[1], 0x7960);
    p.swapped = true;
    ASSERT_TRUE(p.Encode(RuntimeValue::FromInt(-100000), w));
    EXPECT_EQ(w[0], 0x7960);
    EXPECT_EQ(p.Decode(w, RuntimeValue::Type::Int).AsInt(), -100000);
    EXPECT_FALSE(p.Encode(RuntimeValue::FromInt(2147483648LL), w));

    // raw × scale + offset on reading, the inverse, to the nearest step, on writing.
    p.format = ModbusPoint::Format::UInt32;
    p.scale = 0.1;
    p.offset = -50;
    ASSERT_TRUE(p.Encode(RuntimeValue::FromReal(12.34), w));
    EXPECT_DOUBLE_EQ(p.Decode(w, RuntimeValue::Type::Real).AsReal(), 12.3);
    EXPECT_FALSE(p.Encode(RuntimeValue::FromReal(-50.1), w)) << "below raw 0";
    EXPECT_FALSE(p.Encode(RuntimeValue::FromReal(1e300), w));

    p.format = ModbusPoint::Format::Float32;
    p.scale = 1;
    p.offset = 0;
    p.swapped = false;
    ASSERT_TRUE(p.Encode(RuntimeValue::FromReal(1.5), w));
    EXPECT_EQ(w[0], 0x3FC0);
    EXPECT_EQ(w[1], 0x0000);
    EXPECT_FALSE(p.Encode(RuntimeValue::FromReal(1e39), w));
}
