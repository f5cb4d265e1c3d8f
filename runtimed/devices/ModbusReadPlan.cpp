#include "ModbusReadPlan.h"

#include <algorithm>

std::vector<ModbusRead> ModbusRead::Plan(std::vector<Member> members)
{
    std::sort(members.begin(), members.end(), [](const Member& a, const Member& b) {
        return a.point.table != b.point.table ? a.point.table < b.point.table : a.point.address < b.point.address;
    });
    std::vector<ModbusRead> reads;
    for (Member& m : members) {
        const int end = m.point.address + m.point.Width();
        ModbusRead* last = reads.empty() ? nullptr : &reads.back();
        const int limit = m.point.IsBit() ? kMaxBits : kMaxRegisters;
        if (last && last->table == m.point.table && m.point.address <= last->first + last->count &&
            std::max(end, last->first + last->count) - last->first <= limit) {
            last->count = std::max(end, last->first + last->count) - last->first;
        } else {
            reads.push_back({m.point.table, m.point.address, m.point.Width(), {}});
            last = &reads.back();
        }
        last->members.push_back(std::move(m));
    }
    return reads;
}
