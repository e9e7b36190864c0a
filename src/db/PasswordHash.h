#pragma once

#include <QString>

// User passwords are kept as salted PBKDF2-HMAC-SHA256 hashes:
// "pbkdf2-sha256$<iterations>$<salt base64>$<hash base64>".
namespace PasswordHash {

inline constexpr int DefaultIterations = 60000;

// The exact text typed counts: no trimming, letter case matters.
QString make(const QString &plain, int iterations = DefaultIterations);

// False for an empty, null or malformed stored value.
bool verify(const QString &plain, const QString &stored);

}  // namespace PasswordHash
