#include "WireWriter.h"

#include <QtEndian>

#include <cstring>

void WireWriter::U8(std::uint8_t v)
{
    m_bytes.append(static_cast<char>(v));
}

void WireWriter::U16(std::uint16_t v)
{
    char b[2];
    qToBigEndian(v, b);
    m_bytes.append(b, 2);
}

void WireWriter::U32(std::uint32_t v)
{
    char b[4];
    qToBigEndian(v, b);
    m_bytes.append(b, 4);
}

void WireWriter::I64(std::int64_t v)
{
    char b[8];
    qToBigEndian(v, b);
    m_bytes.append(b, 8);
}

void WireWriter::F64(double v)
{
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    I64(static_cast<std::int64_t>(bits));
}

void WireWriter::Str(const QString& s)
{
    const QByteArray utf8 = s.toUtf8();
    U32(static_cast<std::uint32_t>(utf8.size()));
    m_bytes.append(utf8);
}

QByteArray WireWriter::Frame() const
{
    QByteArray frame;
    frame.reserve(m_bytes.size() + 4);
    char b[4];
    qToBigEndian(static_cast<std::uint32_t>(m_bytes.size()), b);
    frame.append(b, 4);
    frame.append(m_bytes);
    return frame;
}
