#include "ScramMessage.h"

#include <QStringDecoder>

#include <cstring>

bool ScramMessage::Parse(const QByteArray& text, const char* keys, QByteArrayList& values)
{
    values.clear();
    if (text.size() > kMaxBytes)
        return false;
    const QByteArrayList fields = text.split(',');
    if (fields.size() != static_cast<qsizetype>(std::strlen(keys)))
        return false;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QByteArray& f = fields[i];
        if (f.size() < 2 || f[0] != keys[i] || f[1] != '=')
            return false;
        values << f.mid(2);
    }
    return true;
}

QByteArray ScramMessage::EncodeName(const QString& name)
{
    QByteArray out;
    for (const char c : name.toUtf8()) {
        if (c == '=')
            out += "=3D";
        else if (c == ',')
            out += "=2C";
        else
            out += c;
    }
    return out;
}

bool ScramMessage::DecodeName(const QByteArray& encoded, QString& name)
{
    QByteArray raw;
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '=') {
            raw += encoded[i];
            continue;
        }
        const QByteArray code = encoded.mid(i + 1, 2);
        if (code == "3D")
            raw += '=';
        else if (code == "2C")
            raw += ',';
        else
            return false;
        i += 2;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    name = utf8.decode(raw);
    return !utf8.hasError() && !name.isEmpty();
}

bool ScramMessage::IsNonce(const QByteArray& nonce)
{
    if (nonce.isEmpty())
        return false;
    for (const char c : nonce)
        if (c < 0x21 || c > 0x7E || c == ',')
            return false;
    return true;
}

bool ScramMessage::DecodeBase64(const QByteArray& text, QByteArray& bytes)
{
    const auto decoded = QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        return false;
    bytes = decoded.decoded;
    return true;
}
