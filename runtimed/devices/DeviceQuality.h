#pragma once

#include "toolkit/protocol/Protocol.h"

#include <cstdint>

// Qualities of device tags (docs/protocol.md): the class in the top two bits
// of the low byte, the reason for a bad value in the bits below.
namespace DeviceQuality {
constexpr std::uint16_t kGood = vtproto::kQualityGood;
constexpr std::uint16_t kNotRead = 0x80;        // NA until the first read
constexpr std::uint16_t kExceptionReply = 0x04; // the device answered with a Modbus exception
constexpr std::uint16_t kNotConnected = 0x08;   // no connection to the device
constexpr std::uint16_t kCommFailure = 0x18;    // a request timed out or its reply was broken
} // namespace DeviceQuality
