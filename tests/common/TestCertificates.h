#pragma once

#include <QString>

// Certificates made at test time with OpenSSL, never stored: a CA; for
// 127.0.0.1 and localhost a server certificate it signed, an expired one and
// a self-signed one; and one it signed for another name. Each NAME comes as
// NAME.pem and NAME.key (readable by the owner only) in the folder.
class TestCertificates
{
public:
    // False when OpenSSL failed or a file could not be written.
    static bool Make(const QString& folder);
};
