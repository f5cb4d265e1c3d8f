#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// Builds one frame payload; integers big-endian, strings as a 32-bit byte count
// and UTF-8. Frame() prefixes the payload with its length.
class WireWriter
{
public:
    void U8(std::uint8_t v);
    void U16(std::uint16_t v);
    void U32(std::uint32_t v);
    void I64(std::int64_t v);
    void F64(double v);
    void Str(const QString& s);
    // Bytes already encoded by another writer.
    void Raw(const QByteArray& bytes) { m_bytes += bytes; }

    const QByteArray& Payload() const { return m_bytes; }
    QByteArray Frame() const;

private:
    QByteArray m_bytes;
};
