#pragma once

#include "devices/ModbusPoint.h"
#include "toolkit/protocol/Protocol.h"
#include "toolkit/protocol/RuntimeValue.h"

#include <QString>

#include <cstdint>

enum class SimulationKind { None, Ramp, Sine, Random, Counter, Square };

// One tag of the plant: its declaration and its live value.
struct Tag
{
    QString name;
    RuntimeValue::Type type = RuntimeValue::Type::Real;
    bool writable = false;
    RuntimeValue value;
    std::uint16_t quality = vtproto::kQualityGood;
    std::int64_t timeStamp = 0;

    SimulationKind simulation = SimulationKind::None;
    double minimum = 0.0;
    double maximum = 100.0;
    double periodSeconds = 10.0;

    int device = -1; // index of the device that holds the tag; -1 for the runtime's own tags
    ModbusPoint point;
};
