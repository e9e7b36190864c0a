#include "PasswordHash.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QStringList>

namespace PasswordHash {

namespace {

constexpr int SaltBytes = 16;
constexpr int HashBytes = 32;
constexpr int MaxIterations = 10'000'000;  // a stored value cannot make a login hang

QByteArray derive(const QString &plain, const QByteArray &salt, int iterations)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, plain.toUtf8(), salt, iterations, HashBytes);
}

}  // namespace

QString make(const QString &plain, int iterations)
{
    QByteArray salt(SaltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()), SaltBytes / 4);
    return QStringLiteral("pbkdf2-sha256$%1$%2$%3")
        .arg(iterations)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(derive(plain, salt, iterations).toBase64()));
}

bool verify(const QString &plain, const QString &stored)
{
    const QStringList parts = stored.split(u'$');
    if (parts.size() != 4 || parts.at(0) != u"pbkdf2-sha256")
        return false;
    bool ok = false;
    const int iterations = parts.at(1).toInt(&ok);
    if (!ok || iterations < 1 || iterations > MaxIterations)
        return false;
    const QByteArray salt = QByteArray::fromBase64(parts.at(2).toLatin1());
    const QByteArray expected = QByteArray::fromBase64(parts.at(3).toLatin1());
    if (salt.isEmpty() || expected.size() != HashBytes)
        return false;
    const QByteArray actual = derive(plain, salt, iterations);
    // Constant-time comparison.
    unsigned char diff = 0;
    for (int i = 0; i < HashBytes; ++i)
        diff |= static_cast<unsigned char>(actual.at(i) ^ expected.at(i));
    return diff == 0;
}

}  // namespace PasswordHash
