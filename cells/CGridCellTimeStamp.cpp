#include "CGridCellTimeStamp.h"

#include "runtime/VantelToolkit.h"
#include "runtime/VtText.h"

#include <array>

IMPLEMENT_DYNCREATE(CGridCellTimeStamp, CGridCell)

namespace {

constexpr int kFormatCapacity = 120;

quint64 Ticks(const FILETIME& time)
{
    return (quint64(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

} // namespace

CGridCellTimeStamp::CGridCellTimeStamp() = default;

bool CGridCellTimeStamp::Parse(const QString& text)
{
    return ParseTimeStamp(VtText(text), &m_Time, m_nTimeKind) != 0;
}

void CGridCellTimeStamp::SetText(const QString& text)
{
    m_Time = FILETIME{};
    if (!m_bReformat) {
        Parse(text);
        CGridCell::SetText(text);
        return;
    }
    if (Parse(text)) {
        std::array<VtChar, kFormatCapacity + 1> buffer{};
        FormatTimeStamp(&m_Time, buffer.data(), kFormatCapacity, m_nTimeKind);
        CGridCell::SetText(QString::fromUtf16(buffer.data()));
    } else if (text.isEmpty()) {
        CGridCell::SetText(text);
    } else {
        Parse(GetText());
    }
}

void CGridCellTimeStamp::SetTimeKind(UINT kind)
{
    switch (kind) {
    case 4:
    case 7: m_nTimeKind = 0; break;
    case 5:
    case 8: m_nTimeKind = 1; break;
    case 6:
    case 9: m_nTimeKind = 2; break;
    default: break;
    }
}

int CGridCellTimeStamp::Compare(const CObject* other) const
{
    const auto* stamp = dynamic_cast<const CGridCellTimeStamp*>(other);
    if (!stamp)
        return -1;
    const quint64 mine = Ticks(m_Time);
    const quint64 theirs = Ticks(stamp->m_Time);
    return mine < theirs ? -1 : (mine > theirs ? 1 : 0);
}
