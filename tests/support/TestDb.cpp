#include "TestDb.h"

#include "ConnectionString.h"
#include "NewDatabase.h"

#include <QDir>
#include <QFile>
#include <stdexcept>

TestAppDir::TestAppDir(bool withDatabase)
{
    if (!m_dir.isValid())
        throw std::runtime_error("cannot make a temporary directory");
    QDir().mkpath(appDir() + QStringLiteral("Data"));
    if (withDatabase)
        NewDatabase::create(databasePath());
}

QString TestAppDir::databasePath() const
{
    return appDir() + QStringLiteral("Data/QLM30.qdb");
}

std::unique_ptr<Database> TestAppDir::open() const
{
    return Database::open(databasePath(), ConnectionString::databasePassword().toUtf8());
}

void TestAppDir::writeFile(const QString &relative, const QByteArray &bytes) const
{
    QFile f(file(relative));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

QByteArray TestAppDir::readFile(const QString &relative) const
{
    QFile f(file(relative));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}
