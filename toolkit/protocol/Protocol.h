#pragma once

// Wire constants shared by the toolkit and the runtime server; docs/protocol.md
// describes the frames they build.

#include <cstdint>

namespace vtproto {

constexpr std::uint32_t kMagic = 0x56545254; // "VTRT"
// 2: the login is a SCRAM-SHA-256 exchange (Login, then LoginProof); a peer
// of version 1 sends its password in clear and is refused at the Hello.
constexpr std::uint16_t kVersion = 2;

// Upper bound of one frame's payload in either direction. Large enough for an
// evaluation of many thousand watch rows, small enough that a hostile length
// prefix costs nothing: nothing is allocated before the bytes arrive.
constexpr std::uint32_t kMaxPayload = 16u * 1024u * 1024u;
constexpr std::uint32_t kHeaderSize = 4;

// Per-string bound inside a frame: a tag value or an expression line.
constexpr std::uint32_t kMaxStringBytes = 64u * 1024u;
// Lines of one evaluation request, rows of one EnterRows request.
constexpr std::uint32_t kMaxBatch = 100000;
// An EnterRows reply stops taking rows once it holds this many bytes, so that
// one more row (two results of at most kMaxStringBytes each) still fits a frame.
constexpr std::uint32_t kMaxEnterReplyBytes = 8u * 1024u * 1024u;

// A Browse reply stops adding tags once its page holds this many bytes; the
// client asks again from where it stopped. String values in it are cut to
// kMaxBrowseValueChars: the browser shows a glimpse, not the whole text.
constexpr std::uint32_t kMaxBrowsePageBytes = 1024u * 1024u;
constexpr int kMaxBrowseValueChars = 256;
// Tags a runtime may list; the same bound as its plant file.
constexpr std::uint32_t kMaxBrowseTags = 100000;

// Where VantelRuntime --gateway listens, and where the toolkit looks for a
// gateway whose setting names no port.
constexpr int kDefaultGatewayPort = 1235;

// Replies carry the request type with this bit set.
constexpr std::uint8_t kReplyBit = 0x80;

// The quality class of a good value: the top two bits of the low byte.
constexpr std::uint16_t kQualityGood = 0xC0;

enum class Request : std::uint8_t {
    Hello = 1,
    Login = 2,
    Ping = 3,
    Compile = 4,
    Evaluate = 5,
    Resolve = 6,
    Read = 7,
    Write = 8,
    Browse = 9,
    LoginProof = 10,
    EnterRows = 11,
};

enum class Status : std::uint8_t {
    Ok = 0,
    BadRequest = 1,
    UnsupportedVersion = 2,
    NotLoggedIn = 3,
    BadCredentials = 4,
    NoReadRight = 5,
    NoWriteRight = 6,
    UnknownTag = 7,
    ReadOnly = 8,
    BadValue = 9,
    SyntaxError = 10,
    EvaluationError = 11,
    DeviceError = 12, // the device refused a write or did not confirm it in time
};

} // namespace vtproto
