#include "WireReader.h"

#include "Protocol.h"

#include <QtEndian>

#include <cstring>

WireReader::WireReader(const QByteArray& bytes) : m_bytes(bytes)
{
}

const char* WireReader::Take(qsizetype n)
{
    if (m_failed || n < 0 || m_bytes.size() - m_pos < n) {
        m_failed = true;
        return nullptr;
    }
    const char* p = m_bytes.constData() + m_pos;
    m_pos += n;
    return p;
}

std::uint8_t WireReader::U8()
{
    const char* p = Take(1);
    return p ? static_cast<std::uint8_t>(*p) : 0;
}

std::uint16_t WireReader::U16()
{
    const char* p = Take(2);
    return p ? qFromBigEndian<std::uint16_t>(p) : 0;
}

std::uint32_t WireReader::U32()
{
    const char* p = Take(4);
    return p ? qFromBigEndian<std::uint32_t>(p) : 0;
}

std::int64_t WireReader::I64()
{
    const char* p = Take(8);
    return p ? qFromBigEndian<std::int64_t>(p) : 0;
}

double WireReader::F64()
{
    const auto bits = static_cast<std::uint64_t>(I64());
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

QString WireReader::Str()
{
    const std::uint32_t n = U32();
    if (n > vtproto::kMaxStringBytes) {
        m_failed = true;
        return {};
    }
    const char* p = Take(static_cast<qsizetype>(n));
    return p ? QString::fromUtf8(p, static_cast<qsizetype>(n)) : QString();
}
