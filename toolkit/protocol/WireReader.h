#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// Reads a payload written by WireWriter. Every read is bounds-checked: a short or
// malformed payload sets the failed flag, after which reads return zero values,
// so a decoder checks Ok() once at the end instead of after every field.
class WireReader
{
public:
    explicit WireReader(const QByteArray& bytes);

    std::uint8_t U8();
    std::uint16_t U16();
    std::uint32_t U32();
    std::int64_t I64();
    double F64();
    QString Str();

    bool Ok() const { return !m_failed; }
    bool AtEnd() const { return m_pos == m_bytes.size(); }
    // True when everything was read and nothing is left over.
    bool Complete() const { return Ok() && AtEnd(); }

private:
    const char* Take(qsizetype n);

    QByteArray m_bytes;
    qsizetype m_pos = 0;
    bool m_failed = false;
};
