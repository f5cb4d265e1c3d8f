#pragma once

// The runtime toolkit: every access the program makes to a runtime goes through
// these operations. Texts are UTF-16 and NUL-terminated; every buffer the toolkit
// writes comes with its capacity in characters, the terminator included.

#include "platform/WinTypes.h"

#include <cstddef>
#include <cstdint>

#if defined(VANTEL_TOOLKIT_BUILD)
#define VANTEL_API __attribute__((visibility("default")))
#else
#define VANTEL_API
#endif

using VtChar = char16_t;

// Opaque connection; the program keeps the handle, the toolkit owns what it points to.
struct VtConnection;
using VtHandle = VtConnection*;

// The result of one evaluation. The program reads only the valid flag and the
// quality; the value in between is the toolkit's and goes back to FormatResultValue.
struct ResultRecord
{
    std::int32_t valid;
    std::uint8_t value[2078];
    std::uint16_t quality;
    std::uint8_t reserved[4];
};
static_assert(sizeof(ResultRecord) == 2088);
static_assert(offsetof(ResultRecord, valid) == 0);
static_assert(offsetof(ResultRecord, quality) == 2082);

// A resolved tag, filled by ResolveTag and handed to the read and write operations.
struct TagRef
{
    std::uint32_t words[3];
};
static_assert(sizeof(TagRef) == 12);

// One row for EnterRows: what committing a watch row's Tag and then its Value
// field asks of the runtime. A null expression: the row is not evaluated; a
// null tag: no value is written.
struct VtRowEntry
{
    const VtChar* expression; // compiled, evaluated and resolved
    const VtChar* tag;        // the tag the value is written to and read back from
    const VtChar* value;      // the text written
    const VtChar* typed;      // with an expression: no write when the row then shows this text
};

constexpr std::size_t kReadBackCapacity = 1024;

// The answer to one VtRowEntry, as the single operations would have given it.
struct VtRowAnswer
{
    int compiled;          // CompileExpression returned 0
    int resolved;          // ResolveTag of the expression was nonzero
    ResultRecord record;   // EvaluateCompiled's record, when compiled
    int written;           // 0 tag not resolved, 1 skipped (row shows the typed text), 2 written and read back
    int read;              // ReadTagText was nonzero
    std::uint16_t quality; // ReadTagText's quality, when read
    VtChar readBack[kReadBackCapacity]; // ReadTagText's text
};

constexpr std::size_t kCompiledBufferSize = 8192;
constexpr std::size_t kValueTextCapacity = 1025;
constexpr std::size_t kTimeStampTextCapacity = 120;

// Quality classes.
constexpr std::uint16_t kQualityBad = 0;
constexpr std::uint16_t kQualityUncertain = 64;
constexpr std::uint16_t kQualityNotAvailable = 128;
constexpr std::uint16_t kQualityGood = 192;

// ConnectRuntime results besides 0, E_ABORT (no read right) and E_ACCESSDENIED
// (credentials refused); see docs/protocol.md.
constexpr HRESULT VT_E_UNREACHABLE = static_cast<HRESULT>(0x80070422u);
constexpr HRESULT VT_E_NOT_STARTED = static_cast<HRESULT>(0x8007139Fu);
constexpr HRESULT VT_E_PROTOCOL = static_cast<HRESULT>(0x80070032u); // the peer is no runtime we speak to
constexpr HRESULT VT_E_ROUTE = static_cast<HRESULT>(0x80004001u);    // proxy or gateway route not available
constexpr HRESULT VT_E_ARGUMENT = static_cast<HRESULT>(0x80070057u); // no handle, or a port outside 1..65535
// Transport security (VtSetTransportSecurity): the runtime's certificate is not
// trusted, is not issued for the name given, has expired or is not yet valid;
// the runtime speaks no TLS; it speaks only TLS and TLS was not asked for; the
// TLS handshake failed otherwise. None of them sends anything of the protocol.
constexpr HRESULT VT_E_TLS_UNTRUSTED = static_cast<HRESULT>(0x80040201u);
constexpr HRESULT VT_E_TLS_NAME = static_cast<HRESULT>(0x80040202u);
constexpr HRESULT VT_E_TLS_EXPIRED = static_cast<HRESULT>(0x80040203u);
constexpr HRESULT VT_E_TLS_ABSENT = static_cast<HRESULT>(0x80040204u);
constexpr HRESULT VT_E_TLS_REQUIRED = static_cast<HRESULT>(0x80040205u);
constexpr HRESULT VT_E_TLS_FAILED = static_cast<HRESULT>(0x80040206u);
// The runtime accepted the login proof but could not sign the exchange: it does
// not know the user's verifier.
constexpr HRESULT VT_E_SERVER_PROOF = static_cast<HRESULT>(0x80040207u);

extern "C" {

// Life cycle.
VANTEL_API int ToolkitStartup();
VANTEL_API void ToolkitShutdown();
VANTEL_API int IsToolkitReady();

// Connection. IsLoginRequired and ConnectRuntime take the same arguments:
// server, port, proxy, proxy port, gateway, HTTPPolling (seconds), handle.
VANTEL_API int IsLoginRequired(const VtChar* server, int port, const VtChar* proxy, int proxyPort,
                               const VtChar* gateway, int polling, VtHandle* handle);
VANTEL_API int LogOn(const VtChar* user, const VtChar* password, int fromCommandLine);
VANTEL_API HRESULT ConnectRuntime(const VtChar* server, int port, const VtChar* proxy, int proxyPort,
                                  const VtChar* gateway, int polling, VtHandle* handle);
VANTEL_API void ActivateConnection(VtHandle handle);
VANTEL_API void CloseConnection(VtHandle handle);
VANTEL_API int IsConnectionLost(VtHandle handle);

// Transport security of the IsLoginRequired and ConnectRuntime calls that
// follow: useTls 0 plain TCP; otherwise TLS, the runtime's certificate checked
// against the system's CA store, or against the certificates in caFile when
// one is given (a non-empty caFile implies TLS). 0, or VT_E_ARGUMENT (and
// nothing changed) when caFile holds no readable certificate.
VANTEL_API HRESULT VtSetTransportSecurity(int useTls, const VtChar* caFile);
// The SHA-256 fingerprint (hex pairs joined by ':') of the certificate that
// the last refused TLS handshake was shown, "" if none; returns its length.
VANTEL_API int VtGetRefusedFingerprint(VtChar* buffer, std::size_t capacity);

// Tags and expressions, on the active connection. CompileExpression: 0 = compiled.
// EvaluateTagList: one record per line; nonzero when the runtime answered.
VANTEL_API void NormalizeTagText(VtChar* text, std::size_t capacity);
VANTEL_API int CompileExpression(const VtChar* text, void* compiled, std::size_t compiledSize, int reserved1, int flags,
                                 int reserved2, int reserved3);
VANTEL_API void EvaluateCompiled(const void* compiled, ResultRecord* record, int a, int b, int c, int d);
VANTEL_API int EvaluateTagList(const VtChar* lines, int count, ResultRecord* records, int reserved);
VANTEL_API void FormatResultValue(VtChar* buffer, std::size_t capacity, const ResultRecord* record);
VANTEL_API int GetQualityClass(std::uint16_t quality);
VANTEL_API void FormatQuality(std::uint16_t quality, VtChar* buffer, std::size_t capacity);

// Many rows in one request, in order, each as CompileExpression,
// EvaluateCompiled, ResolveTag, WriteTagText and ReadTagText would have done it
// one after another. invalidText is what the program shows for an expression
// that does not compile. Returns how many leading rows were answered: fewer
// than count when the rest did not fit one request or a row writes to a device
// (0 when the first does: send that one on its own); -1 when no runtime is
// connected or the request failed (a runtime without it refuses it).
VANTEL_API int EnterRows(const VtRowEntry* rows, int count, const VtChar* invalidText, VtRowAnswer* answers);

// Single tags: ResolveTag is nonzero when the text is exactly one tag; the
// others are nonzero when the runtime wrote or read the value.
VANTEL_API int ResolveTag(TagRef* ref, const VtChar* name);
VANTEL_API int WriteTagText(const TagRef* ref, const VtChar* text, int a, int b, int c, int d);
VANTEL_API int ReadTagText(const TagRef* ref, VtChar* buffer, std::size_t capacity, std::uint16_t* quality,
                           int reserved);
VANTEL_API int WriteTagInt(const TagRef* ref, int value, int a, int b, int c, int d);
VANTEL_API int ReadTagValueText(const TagRef* ref, VtChar* buffer, std::size_t capacity);

// Text checks of the product cell: nonzero = acceptable; the interactive form may
// rewrite the buffer and may talk to the user through a dialog parented to window.
VANTEL_API int ValidateTextKind0(HWND window, VtChar* buffer, int capacity, int interactive, int showError);
VANTEL_API int ValidateTextKind1(HWND window, VtChar* buffer, int interactive, int showError, int flags, int reserved);
VANTEL_API int ValidateTextKind2(HWND window, VtChar* buffer, int capacity, int interactive, int showError,
                                 int reserved);
VANTEL_API int ValidateTextKind3(HWND window, VtChar* buffer, int interactive, int showError, int flags, int reserved);

// Time stamps: nonzero when the text was understood and time filled.
VANTEL_API int ParseTimeStamp(const VtChar* text, FILETIME* time, int timeKind);
VANTEL_API int FormatTimeStamp(const FILETIME* time, VtChar* buffer, int capacity, int timeKind);

// Whether the grid extension's own context menu has items to offer.
VANTEL_API int HasExtendedMenu(HWND window);

} // extern "C"
