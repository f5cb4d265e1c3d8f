#include "ConnectionMessages.h"

#include "res/Resource.h"
#include "res/Resources.h"
#include "runtime/VantelToolkit.h"

#include <cstddef>

namespace {

// Room for a SHA-256 fingerprint as colon-separated hex pairs (95 characters).
constexpr std::size_t kFingerprintCapacity = 128;

} // namespace

QString ConnectionMessages::SecurityRefusal(HRESULT result, const QString& serverLabel)
{
    static constexpr struct
    {
        HRESULT result;
        UINT text;
    } kTexts[] = {
        {VT_E_TLS_UNTRUSTED, IDS_TLS_UNTRUSTED}, {VT_E_TLS_NAME, IDS_TLS_NAME_MISMATCH},
        {VT_E_TLS_EXPIRED, IDS_TLS_EXPIRED},     {VT_E_TLS_ABSENT, IDS_TLS_ABSENT},
        {VT_E_TLS_REQUIRED, IDS_TLS_REQUIRED},   {VT_E_TLS_FAILED, IDS_TLS_FAILED},
        {VT_E_SERVER_PROOF, IDS_SERVER_PROOF},
    };
    for (const auto& t : kTexts) {
        if (t.result != result)
            continue;
        // The fingerprint lets an administrator compare what was shown with
        // the runtime's real certificate.
        VtChar fingerprint[kFingerprintCapacity] = {};
        VtGetRefusedFingerprint(fingerprint, std::size(fingerprint));
        return FormatResText(LoadResString(t.text), {serverLabel, QString::fromUtf16(fingerprint)});
    }
    return {};
}
