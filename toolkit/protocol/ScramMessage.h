#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

// The text of SCRAM messages: comma-separated "k=value" attributes in a fixed
// order, and the escaping of user names ("=" as "=3D", "," as "=2C").
class ScramMessage
{
public:
    // Splits `text` into the values of the attributes named by `keys`, in that
    // order and nothing more. False for anything else, or when longer than
    // kMaxBytes.
    static bool Parse(const QByteArray& text, const char* keys, QByteArrayList& values);
    static QByteArray EncodeName(const QString& name);
    // False for a stray "=" or bytes that are no UTF-8.
    static bool DecodeName(const QByteArray& encoded, QString& name);
    // Printable ASCII without ','.
    static bool IsNonce(const QByteArray& nonce);
    static bool DecodeBase64(const QByteArray& text, QByteArray& bytes);

    static constexpr qsizetype kMaxBytes = 4096;
};
