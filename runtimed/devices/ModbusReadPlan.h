#pragma once

#include "ModbusPoint.h"

#include <vector>

// One read request of a poll and the tags it serves.
struct ModbusRead
{
    struct Member
    {
        int tagId;
        RuntimeValue::Type type;
        ModbusPoint point;
    };

    ModbusPoint::Table table = ModbusPoint::Table::Holding;
    int first = 0;
    int count = 0;
    std::vector<Member> members;

    // Adjacent and overlapping points of one table share a request as far as
    // the protocol's limits allow (125 registers, 2000 bits).
    static std::vector<ModbusRead> Plan(std::vector<Member> members);

    static constexpr int kMaxRegisters = 125;
    static constexpr int kMaxBits = 2000;
};
